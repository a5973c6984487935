#include "compare/SpectrumMatcher.h"

#include <algorithm>
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
    const auto& points = spectrum.Points();
    const std::size_t first = m_masses.size();
    const std::size_t needed = first + points.size();
    if (m_masses.capacity() < needed) {
        m_masses.reserve(std::max(needed, 2 * m_masses.capacity()));
        m_weights.reserve(std::max(needed, 2 * m_weights.capacity()));
    }
    m_masses.resize(needed);
    m_weights.resize(needed);
    std::uint16_t* masses = m_masses.data() + first;
    double* weights = m_weights.data() + first;

    // Every line is written; only the lines at or above the threshold advance the count.
    bool nominal = true;
    std::size_t count = 0;
    double previous = -1;
    for (const CLibraryMassSpectrumPoint& p : points) {
        const double m = p.Mass;
        // After the range test the conversion to int is exact for integers and truncates anything else.
        if (!(m > previous && m <= LargestNominalMass) || m != static_cast<double>(static_cast<int>(m))) {
            nominal = false;
            break;
        }
        previous = m;
        const bool eligible = p.Intensity >= m_threshold;
        if (eligible && !std::isfinite(p.WeightedIntensity)) {
            nominal = false;
            break;
        }
        masses[count] = static_cast<std::uint16_t>(m);
        weights[count] = p.WeightedIntensity;
        count += eligible ? 1 : 0;
    }
    if (!nominal)
        count = 0;
    m_masses.resize(first + count);
    m_weights.resize(first + count);
    m_entries.push_back({&spectrum, spectrum.SumOfSquares(m_threshold), nominal, static_cast<std::uint32_t>(first),
                         static_cast<std::uint32_t>(count)});
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
