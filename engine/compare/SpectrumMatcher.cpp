#include "engine/compare/SpectrumMatcher.h"

#include <algorithm>
#include <cstdint>

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

namespace corvelin {

void CSpectrumMatcher::MatchByTable(const CPreparedSpectra& setA, const int* a, const CPreparedSpectra& setB,
                                    const int* b, int pairs, double* match)
{
    // The nominal pairs with lines go into lanes; the others are matched one by one.
    constexpr int kLanes = 4;
    int lane[kLanes];
    int lanes = 0;
    for (int p = 0; p < pairs && p < kLanes; ++p) {
        const CPreparedSpectra::Entry& ea = setA.Get(a[p]);
        const CPreparedSpectra::Entry& eb = setB.Get(b[p]);
        if (!ea.Nominal || !eb.Nominal || (ea.LineCount == 0 && eb.LineCount == 0))
            match[p] = MatchByTable(setA, a[p], setB, b[p]);
        else
            lane[lanes++] = p;
    }
    const double* table[kLanes];
    std::uint32_t size[kLanes];
    const std::uint16_t* masses[kLanes];
    const double* weights[kLanes];
    std::uint32_t count[kLanes];
    double dot[kLanes] = {0, 0, 0, 0};
    std::uint32_t common = UINT32_MAX;
    for (int l = 0; l < lanes; ++l) {
        const CPreparedSpectra::Entry& eb = setB.Get(b[lane[l]]);
        table[l] = setA.Table(a[lane[l]]);
        size[l] = setA.TableSize(a[lane[l]]);
        masses[l] = setB.Masses() + eb.First;
        weights[l] = setB.Weights() + eb.First;
        count[l] = eb.Count;
        common = std::min(common, eb.Count);
    }
    // The products and their order of the single match.
    const auto term = [&](int l, std::uint32_t k) {
        return (masses[l][k] < size[l] ? table[l][masses[l][k]] : 0.0) * weights[l][k];
    };
    std::uint32_t k = 0;
    if (lanes == kLanes) {
        for (; k < common; ++k) {
            dot[0] += term(0, k);
            dot[1] += term(1, k);
            dot[2] += term(2, k);
            dot[3] += term(3, k);
        }
    } else if (lanes >= 2) {
        for (; k < common; ++k) {
            dot[0] += term(0, k);
            dot[1] += term(1, k);
        }
    }
    for (int l = 0; l < lanes; ++l) {
        double d = dot[l];
        for (std::uint32_t r = l < 2 || lanes == kLanes ? k : 0; r < count[l]; ++r)
            d += term(l, r);
        const double sa = setA.Get(a[lane[l]]).SumOfSquares;
        const double sb = setB.Get(b[lane[l]]).SumOfSquares;
        match[lane[l]] = sa == 0 || sb == 0 ? 0.0 : d * d / (sa * sb);
    }
}

} // namespace corvelin
