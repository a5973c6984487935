#include "engine/compare/PreparedSpectra.h"

#include <algorithm>
#include <cmath>

#include "engine/core/LibraryChromatogram.h"

namespace corvelin {

void CPreparedSpectra::Reset(double threshold)
{
    m_threshold = threshold;
    m_entries.clear();
    m_masses.clear();
    m_weights.clear();
}

int CPreparedSpectra::Add(const CLibraryMassSpectrumData& spectrum)
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

void CPreparedSpectra::PreparePeaks(const CLibraryChromatogramData& chromatogram, double threshold)
{
    static const CLibraryMassSpectrumData kNoSpectrum;
    Reset(threshold);
    m_entries.reserve(chromatogram.Peaks.size());
    for (const auto& peak : chromatogram.Peaks)
        Add(peak ? peak->Spectrum : kNoSpectrum); // a missing peak never takes part; its handle keeps the count
}

} // namespace corvelin
