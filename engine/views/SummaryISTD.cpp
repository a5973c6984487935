#include "engine/views/SummaryISTD.h"

#include <string>

#include "engine/compare/MatchFactors.h"
#include "engine/options/SearchOptions.h"

namespace corvelin {

int FindISTDPeak(const CLibraryChromatogramData& chromatogram, const CSearchOptions& options)
{
    const CLibraryMassSpectrum* reference = nullptr;
    for (int i = 0; i < options.GetSpectraCount() && !reference; ++i) {
        std::string name;
        const CLibraryMassSpectrum* spectrum = options.GetSpectrum(i, &name);
        if (spectrum && name == options.SummaryISTDName)
            reference = spectrum;
    }
    if (!reference)
        return -1;
    const double threshold = MassThresholdOf(options);
    double best = -1;
    int index = -1;
    for (std::size_t i = 0; i < chromatogram.Peaks.size(); ++i) {
        const CLibraryChromatogramPeakData& s = *chromatogram.Peaks[i];
        if (!options.IsInTimeRange(s.RT))
            continue;
        double v = 1;
        if (options.SummaryISTDRT != 0)
            v = RTMatch(s.RT, options.SummaryISTDRT, options);
        if (v >= MatchConstants::StopThreshold && options.MSMatching)
            v *= MSMatch(s.Spectrum, reference->Data(), threshold);
        if (options.SummaryISTDMatch <= v * 1000 && v > best) {
            best = v;
            index = static_cast<int>(i);
        }
    }
    return index >= 0 && best > 0 ? index : -1;
}

} // namespace corvelin

namespace corvelin {

std::string SummaryISTDProblem(const CSearchOptions& options)
{
    if (options.SummaryRelative == 0)
        return {};
    if (options.SummaryISTDName.empty())
        return "Values are to be relative to an ISTD, but no ISTD is chosen: every such value reads \"no ISTD\". "
               "Choose one under \"advanced ...\" (Summary Options).";
    for (int i = 0; i < options.GetSpectraCount(); ++i) {
        std::string name;
        if (options.GetSpectrum(i, &name) && name == options.SummaryISTDName)
            return {};
    }
    return "The ISTD \"" + options.SummaryISTDName +
           "\" is not in the spectral list (it is not kept when the program ends): every value relative to it reads "
           "\"no ISTD\". Add the ISTD's spectrum under \"advanced ...\" (Mass Spec Options) and choose it again.";
}

} // namespace corvelin
