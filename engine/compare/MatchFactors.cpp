#include "engine/compare/MatchFactors.h"

#include <cmath>

#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"

namespace corvelin {

namespace {
// ln(0.01), computed once.
const double LogFallOff = std::log(MatchConstants::WindowFallOff);

// The smaller of the two ratios y / x and x / y; 0 when x is not positive or the ratio is not positive.
double SmallerRatio(double x, double y) noexcept
{
    if (x <= 0)
        return 0;
    const double r = y / x;
    if (r <= 0)
        return 0; // a negative size on one side is no agreement at all
    return r <= 1 ? r : 1 / r;
}
} // namespace

double RetentionFactor(double difference, double windowWidth) noexcept
{
    if (!(difference < RetentionCutOff(windowWidth)))
        return 0;
    return std::exp(LogFallOff * difference * difference / (windowWidth * windowWidth));
}

double RTMatch(double rt, double referenceRT, const CSearchOptions& options) noexcept
{
    if (!(rt > MatchConstants::SmallestRetention && referenceRT > MatchConstants::SmallestRetention))
        return 0;
    return RetentionFactor(std::fabs(rt - referenceRT), options.RTWindowWidth);
}

double RIMatch(const CLibraryChromatogramPeakData& thisPeak, const CLibraryChromatogramPeakData& otherPeak,
               const CSearchOptions& options) noexcept
{
    if (thisPeak.RI == -1 && otherPeak.RI == -1)
        return 1;
    if (!(thisPeak.RI > MatchConstants::SmallestRetention && otherPeak.RI > MatchConstants::SmallestRetention))
        return 0;
    return RetentionFactor(std::fabs(thisPeak.RI - otherPeak.RI), options.RIWindowWidth);
}

double AreaMatch(const CLibraryChromatogramPeakData& thisPeak, const CLibraryChromatogramPeakData& otherPeak,
                 const CSearchOptions& options, double thisTotal, double otherTotal, double thisRangeSum,
                 double otherRangeSum) noexcept
{
    if (thisTotal <= 0 || otherTotal <= 0)
        return 0;
    if (options.AbsoluteAreaHeight)
        return SmallerRatio(thisPeak.Area, otherPeak.Area);
    if (thisRangeSum != 0 && otherRangeSum != 0)
        return SmallerRatio(thisPeak.Area / thisRangeSum, otherPeak.Area / otherRangeSum);
    return SmallerRatio(thisPeak.Area / thisTotal, otherPeak.Area / otherTotal);
}

double HeightMatch(const CLibraryChromatogramPeakData& thisPeak, const CLibraryChromatogramPeakData& otherPeak,
                   const CSearchOptions& options, double thisTotalHeight, double otherTotalHeight) noexcept
{
    if (thisTotalHeight <= 0 || otherTotalHeight <= 0)
        return 0;
    if (options.AbsoluteAreaHeight)
        return SmallerRatio(thisPeak.Height, otherPeak.Height);
    return SmallerRatio(thisPeak.Height / thisTotalHeight, otherPeak.Height / otherTotalHeight);
}

bool PeakTakesPart(const CLibraryChromatogramData& chromatogram, const CLibraryChromatogramPeakData* peak,
                   const CSearchOptions& options)
{
    if (!peak || !options.IsInTimeRange(peak->RT))
        return false;
    if (options.AreaThresholdOn && peak->Area * 100 / chromatogram.TotalArea < options.AreaThreshold)
        return false;
    return !options.IsPeakExcluded(&peak->Spectrum);
}

double MassThresholdOf(const CSearchOptions& options) noexcept
{
    return options.MassThresholdOn ? options.MassThreshold : 0.0;
}

} // namespace corvelin
