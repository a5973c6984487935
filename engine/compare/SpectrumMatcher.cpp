#include "compare/SpectrumMatcher.h"

#include <cmath>

void CSpectrumMatcher::Reset(double threshold)
{
    SetSideA(-1);
    m_threshold = threshold;
    m_entries.clear();
    m_masses.clear();
    m_weights.clear();
}

int CSpectrumMatcher::Add(const CLibraryMassSpectrumData& spectrum)
{
    Entry e{&spectrum, spectrum.SumOfSquares(m_threshold), true, static_cast<std::uint32_t>(m_masses.size()), 0};
    const auto& points = spectrum.Points();
    m_masses.reserve(m_masses.size() + points.size());
    m_weights.reserve(m_weights.size() + points.size());
    double previous = -1;
    for (const CLibraryMassSpectrumPoint& p : points) {
        const double m = p.Mass;
        // After the range test the conversion to int is exact for integers and truncates anything else.
        if (!(m > previous && m <= LargestNominalMass) || m != static_cast<double>(static_cast<int>(m))) {
            e.Nominal = false;
            break;
        }
        previous = m;
        if (p.Intensity >= m_threshold) {
            if (!std::isfinite(p.WeightedIntensity)) {
                e.Nominal = false;
                break;
            }
            m_masses.push_back(static_cast<std::uint16_t>(m));
            m_weights.push_back(p.WeightedIntensity);
        }
    }
    if (e.Nominal) {
        e.Count = static_cast<std::uint32_t>(m_masses.size()) - e.First;
    } else {
        m_masses.resize(e.First);
        m_weights.resize(e.First);
    }
    m_entries.push_back(e);
    return static_cast<int>(m_entries.size()) - 1;
}

void CSpectrumMatcher::SetSideA(int handle)
{
    if (m_sideA >= 0 && m_entries[m_sideA].Nominal) {
        const Entry& old = m_entries[m_sideA];
        for (std::uint32_t k = old.First; k < old.First + old.Count; ++k)
            m_dense[m_masses[k]] = 0;
    }
    m_sideA = handle;
    if (handle < 0)
        return;
    const Entry& a = m_entries[handle];
    if (!a.Nominal)
        return;
    if (m_dense.empty())
        m_dense.assign(LargestNominalMass + 1, 0.0);
    for (std::uint32_t k = a.First; k < a.First + a.Count; ++k)
        m_dense[m_masses[k]] = m_weights[k];
}

double CSpectrumMatcher::Match(int handle) const
{
    const Entry& a = m_entries[m_sideA];
    const Entry& b = m_entries[handle];
    if (!a.Nominal || !b.Nominal)
        return MSMatch(*a.Spectrum, a.SumOfSquares, *b.Spectrum, b.SumOfSquares, m_threshold);
    if (a.Spectrum->GetCount() == 0 && b.Spectrum->GetCount() == 0)
        return 1.0;
    double dot = 0;
    const double* dense = m_dense.data();
    for (std::uint32_t k = b.First; k < b.First + b.Count; ++k)
        dot += dense[m_masses[k]] * m_weights[k];
    if (a.SumOfSquares == 0 || b.SumOfSquares == 0)
        return 0.0;
    return dot * dot / (a.SumOfSquares * b.SumOfSquares);
}
