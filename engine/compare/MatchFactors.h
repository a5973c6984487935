#pragma once
// The match factors of one peak pair, each a number from 0 to 1: retention time, retention index, area and
// height. The mass-spectral factor is MSMatch (core/LibraryMassSpectrum.h).
#include "engine/core/EngineExport.h"
#include "engine/core/LibraryChromatogramPeakData.h"

namespace corvelin {

class CSearchOptions;
class CLibraryChromatogramData;

namespace MatchConstants {
// A retention factor equals 0.01 when the difference equals the window width.
inline constexpr double WindowFallOff = 0.01;
// A retention factor is 0 when the difference is this many window widths or more.
inline constexpr double WindowCutOff = 3.0;
// An RT or RI not above this counts as missing.
inline constexpr double SmallestRetention = 0.001;
// A pair value below this stops further factor evaluation and does not count as a match.
inline constexpr double StopThreshold = 0.0005;
} // namespace MatchConstants

// The difference limit of a retention window: a difference that is not below it gives factor 0. Candidate
// pruning uses the same expression, so a pruned pair is exactly a pair whose factor is 0.
inline double RetentionCutOff(double windowWidth) noexcept
{
    return MatchConstants::WindowCutOff * windowWidth;
}

// 0.01 ^ ((difference / windowWidth)^2) for difference < 3 window widths, else 0 (a width of 0 gives 0 always).
CORVELIN_ENGINE_EXPORT double RetentionFactor(double difference, double windowWidth) noexcept;

// RT factor of rt against a reference time; 0 unless both are above 0.001.
CORVELIN_ENGINE_EXPORT double RTMatch(double rt, double referenceRT, const CSearchOptions& options) noexcept;
// RI factor: 1 when both RI values are -1 (neither chromatogram calibrated), 0 when either is not above 0.001.
CORVELIN_ENGINE_EXPORT double RIMatch(const CLibraryChromatogramPeakData& thisPeak,
                                      const CLibraryChromatogramPeakData& otherPeak,
                                      const CSearchOptions& options) noexcept;
// Area factor: the smaller of the two ratios of the peaks' areas, taken relative to the in-range area sums
// (when both are non-zero) or to the total areas, or absolute when the absolute option is on. 0 when either
// total is not positive or this peak's value is not positive. A negative other value also gives 0, so the
// factor never leaves 0 ... 1.
CORVELIN_ENGINE_EXPORT double AreaMatch(const CLibraryChromatogramPeakData& thisPeak,
                                        const CLibraryChromatogramPeakData& otherPeak, const CSearchOptions& options,
                                        double thisTotal, double otherTotal, double thisRangeSum,
                                        double otherRangeSum) noexcept;
// Height factor: as AreaMatch with the heights, always relative to the total heights (no range sums).
CORVELIN_ENGINE_EXPORT double HeightMatch(const CLibraryChromatogramPeakData& thisPeak,
                                          const CLibraryChromatogramPeakData& otherPeak, const CSearchOptions& options,
                                          double thisTotalHeight, double otherTotalHeight) noexcept;
// Whether a peak of chromatogram takes part in a comparison: inside the RT search range, not below the area
// threshold and not left out by the spectral list. A missing peak (null) never takes part. With a total area
// of 0 the percentage is not a number below the threshold, so the threshold keeps the peak.
CORVELIN_ENGINE_EXPORT bool PeakTakesPart(const CLibraryChromatogramData& chromatogram,
                                          const CLibraryChromatogramPeakData* peak, const CSearchOptions& options);
// The intensity threshold of spectrum comparisons: the mass threshold when it is on, else 0.
CORVELIN_ENGINE_EXPORT double MassThresholdOf(const CSearchOptions& options) noexcept;

} // namespace corvelin
