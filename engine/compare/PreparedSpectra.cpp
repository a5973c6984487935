#include "engine/compare/PreparedSpectra.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "engine/core/LibraryChromatogram.h"

namespace corvelin {

void CPreparedSpectra::Reset(double threshold)
{
    m_threshold = threshold;
    m_entries.clear();
    m_lineCount = 0;
}

bool CPreparedSpectra::Append(const std::uint8_t* lines, std::size_t n, std::size_t intensityOffset,
                              const CLibraryMassSpectrumData* spectrum)
{
    // The arrays only grow (their contents beyond m_lineCount are left as they are, not cleared for each use).
    const std::size_t first = m_lineCount;
    const std::size_t needed = first + n;
    if (m_masses.size() < needed) {
        m_masses.resize(std::max(needed, 2 * m_masses.size()));
        m_weights.resize(m_masses.size());
    }
    std::uint16_t* masses = m_masses.data() + first;
    double* weights = m_weights.data() + first;

    // Every line of a nominal spectrum is written; only the lines at or above the threshold advance the count.
    // The sum of squares takes the same lines in the same order as CLibraryMassSpectrumData::SumOfSquares (a
    // term of +0 for a line below the threshold leaves a sum of squares unchanged).
    const double threshold = m_threshold;
    bool nominal = true;
    std::size_t count = 0;
    double previous = -1;
    double sumOfSquares = 0;
    std::size_t k = 0;
    for (; k < n; ++k) {
        const std::uint8_t* line = lines + k * CLibraryMassSpectrumData::LineBytes;
        double m, intensity, w;
        std::memcpy(&m, line, 8);
        std::memcpy(&intensity, line + intensityOffset, 8);
        std::memcpy(&w, line + 24, 8);
        const bool eligible = intensity >= threshold;
        sumOfSquares += eligible ? w * w : 0.0;
        // After the range test the conversion to int is exact for integers and truncates anything else.
        if (!(m > previous && m <= LargestNominalMass) || m != static_cast<double>(static_cast<int>(m)) ||
            (eligible && !std::isfinite(w))) {
            nominal = false;
            ++k;
            break;
        }
        previous = m;
        masses[count] = static_cast<std::uint16_t>(m);
        weights[count] = w;
        count += eligible ? 1 : 0;
    }
    for (; k < n; ++k) {
        const std::uint8_t* line = lines + k * CLibraryMassSpectrumData::LineBytes;
        double intensity, w;
        std::memcpy(&intensity, line + intensityOffset, 8);
        std::memcpy(&w, line + 24, 8);
        sumOfSquares += intensity >= threshold ? w * w : 0.0;
    }
    if (!nominal)
        count = 0;
    m_lineCount = first + count;
    m_entries.push_back(
        {spectrum, sumOfSquares, nominal, static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(count), n});
    return nominal;
}

int CPreparedSpectra::Add(const CLibraryMassSpectrumData& spectrum)
{
    static_assert(sizeof(CLibraryMassSpectrumPoint) == CLibraryMassSpectrumData::LineBytes &&
                  offsetof(CLibraryMassSpectrumPoint, Mass) == 0 &&
                  offsetof(CLibraryMassSpectrumPoint, WeightedIntensity) == 24);
    const auto& points = spectrum.Points();
    Append(reinterpret_cast<const std::uint8_t*>(points.data()), points.size(),
           offsetof(CLibraryMassSpectrumPoint, Intensity), &spectrum);
    return static_cast<int>(m_entries.size()) - 1;
}

int CPreparedSpectra::AddLines(std::span<const std::uint8_t> lineBytes, CLibraryMassSpectrumData& fallback)
{
    // A stored line: mass, intensity, extra, weighted intensity.
    const bool nominal = Append(lineBytes.data(), lineBytes.size() / CLibraryMassSpectrumData::LineBytes, 8, nullptr);
    if (!nominal) {
        fallback.Clear();
        fallback.AppendLines(lineBytes);
        m_entries.back().Spectrum = &fallback;
    }
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
