#include "engine/compare/SpectrumMatcher.h"

namespace corvelin {

void CSpectrumMatcher::Reset(double threshold)
{
    ClearSideA();
    m_own.Reset(threshold);
}

void CSpectrumMatcher::ClearSideA()
{
    if (m_sideA >= 0) {
        const CPreparedSpectra::Entry& old = m_sideASet->Get(m_sideA);
        if (old.Nominal) {
            const std::uint16_t* masses = m_sideASet->Masses();
            for (std::uint32_t k = old.First; k < old.First + old.Count; ++k)
                m_dense[masses[k]] = 0;
        }
    }
    m_sideASet = nullptr;
    m_sideA = -1;
}

void CSpectrumMatcher::SetSideA(const CPreparedSpectra& set, int handle)
{
    ClearSideA();
    if (handle < 0)
        return;
    m_sideASet = &set;
    m_sideA = handle;
    const CPreparedSpectra::Entry& a = set.Get(handle);
    if (!a.Nominal)
        return;
    if (m_dense.empty())
        m_dense.assign(CPreparedSpectra::LargestNominalMass + 1, 0.0);
    const std::uint16_t* masses = set.Masses();
    const double* weights = set.Weights();
    for (std::uint32_t k = a.First; k < a.First + a.Count; ++k)
        m_dense[masses[k]] = weights[k];
}

double CSpectrumMatcher::Match(const CPreparedSpectra& set, int handle) const
{
    const CPreparedSpectra::Entry& a = m_sideASet->Get(m_sideA);
    const CPreparedSpectra::Entry& b = set.Get(handle);
    if (!a.Nominal || !b.Nominal)
        return MSMatch(*a.Spectrum, a.SumOfSquares, *b.Spectrum, b.SumOfSquares, m_own.Threshold());
    if (a.LineCount == 0 && b.LineCount == 0)
        return 1.0;
    double dot = 0;
    const double* dense = m_dense.data();
    const std::uint16_t* masses = set.Masses();
    const double* weights = set.Weights();
    for (std::uint32_t k = b.First; k < b.First + b.Count; ++k)
        dot += dense[masses[k]] * weights[k];
    if (a.SumOfSquares == 0 || b.SumOfSquares == 0)
        return 0.0;
    return dot * dot / (a.SumOfSquares * b.SumOfSquares);
}

} // namespace corvelin

namespace corvelin {

double CSpectrumMatcher::MatchByTable(const CPreparedSpectra& setA, int a, const CPreparedSpectra& setB, int b)
{
    const CPreparedSpectra::Entry& ea = setA.Get(a);
    const CPreparedSpectra::Entry& eb = setB.Get(b);
    if (!ea.Nominal || !eb.Nominal)
        return MSMatch(*ea.Spectrum, ea.SumOfSquares, *eb.Spectrum, eb.SumOfSquares, setA.Threshold());
    if (ea.LineCount == 0 && eb.LineCount == 0)
        return 1.0;
    // The products and their order of Match: a mass beyond the table, like one without a line in it, gives 0.
    const double* table = setA.Table(a);
    const std::uint32_t size = setA.TableSize(a);
    const std::uint16_t* masses = setB.Masses();
    const double* weights = setB.Weights();
    double dot = 0;
    for (std::uint32_t k = eb.First; k < eb.First + eb.Count; ++k)
        dot += (masses[k] < size ? table[masses[k]] : 0.0) * weights[k];
    if (ea.SumOfSquares == 0 || eb.SumOfSquares == 0)
        return 0.0;
    return dot * dot / (ea.SumOfSquares * eb.SumOfSquares);
}

} // namespace corvelin
