#include "engine/compare/PreparedChromatogram.h"

#include <algorithm>
#include <climits>
#include <exception>

#include "engine/compare/MatchFactors.h"
#include "engine/options/SearchOptions.h"

namespace corvelin {

void CPreparedChromatogram::Prepare(const CLibraryChromatogramData& chromatogram, const CSearchOptions& options)
{
    static const CLibraryMassSpectrumData kNoSpectrum;
    m_header = &chromatogram;
    m_claimed = std::max(0, chromatogram.PeakCount);
    const int present =
        std::min(m_claimed, static_cast<int>(std::min<std::size_t>(chromatogram.Peaks.size(), INT_MAX)));
    m_peaks.resize(static_cast<std::size_t>(present));
    m_spectra.Reset(MassThresholdOf(options));
    for (int i = 0; i < present; ++i) {
        const CLibraryChromatogramPeakData* peak = chromatogram.GetPeak(i);
        m_peaks[static_cast<std::size_t>(i)] = peak;
        m_spectra.Add(peak ? peak->Spectrum : kNoSpectrum); // a missing peak never takes part
    }
    m_keepsSpectra = true;
    Classify(options);
}

bool CPreparedChromatogram::PrepareEntryFile(const std::string& path, const CSearchOptions& options,
                                             bool keepSpectra) noexcept
{
    try {
        m_spectra.Reset(MassThresholdOf(options));
        const bool decodeAll = keepSpectra || options.SpectralListMode != 0;
        std::size_t n = 0;
        m_entry.ReadEntryPeakByPeak(
            path, [&](const CLibraryChromatogramPeakData& fields, std::span<const std::uint8_t> lineBytes) {
                if (n == m_entryPeaks.size())
                    m_entryPeaks.push_back(std::make_unique<CLibraryChromatogramPeakData>());
                CLibraryChromatogramPeakData& peak = *m_entryPeaks[n++];
                peak.Area = fields.Area;
                peak.Height = fields.Height;
                peak.RT = fields.RT;
                peak.StartRT = fields.StartRT;
                peak.EndRT = fields.EndRT;
                peak.RI = fields.RI;
                peak.PeakNumber = fields.PeakNumber;
                peak.Spectrum.Clear();
                if (decodeAll) {
                    peak.Spectrum.AppendLines(lineBytes);
                    m_spectra.Add(peak.Spectrum);
                } else {
                    m_spectra.AddLines(lineBytes, peak.Spectrum);
                }
            });
        m_spectra.FinishLines();
        m_header = &m_entry;
        m_keepsSpectra = decodeAll;
        m_claimed = std::max(0, m_entry.PeakCount);
        const std::size_t present = std::min(static_cast<std::size_t>(m_claimed), n);
        m_peaks.resize(present);
        for (std::size_t i = 0; i < present; ++i)
            m_peaks[i] = m_entryPeaks[i].get();
        Classify(options);
        return true;
    } catch (const std::exception&) {
        // CEngineException for the documented errors, std::bad_alloc when memory runs out.
        return false;
    }
}

void CPreparedChromatogram::Classify(const CSearchOptions& options)
{
    const bool allTimes = options.TimeRange == "*";
    const std::size_t present = m_peaks.size();
    m_takesPart.resize(present);
    m_inRange.resize(present);
    m_rangeSum = 0;
    m_allNominal = true;
    for (std::size_t i = 0; i < present; ++i) {
        m_allNominal = m_allNominal && m_spectra.Get(static_cast<int>(i)).Nominal;
        const CLibraryChromatogramPeakData* p = m_peaks[i];
        m_takesPart[i] = PeakTakesPart(*m_header, p, options);
        m_inRange[i] = p && (allTimes || options.IsInTimeRange(p->RT));
        if (!allTimes && m_inRange[i])
            m_rangeSum += p->Area;
    }
}

} // namespace corvelin
