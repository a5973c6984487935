#include "compare/PairValue.h"

#include "compare/MatchFactors.h"
#include "options/SearchOptions.h"

CPairFactors PairValue(const CLibraryChromatogramPeakData& thisPeak, const CLibraryChromatogramPeakData& otherPeak,
                       const CPairContext& context)
{
    // The sums of squares are only read when the MS factor is evaluated.
    if (!context.Options.MSMatching)
        return PairValue(thisPeak, otherPeak, context, 0, 0);
    const double threshold = MassThresholdOf(context.Options);
    return PairValue(thisPeak, otherPeak, context, thisPeak.Spectrum.SumOfSquares(threshold),
                     otherPeak.Spectrum.SumOfSquares(threshold));
}

CPairFactors PairValue(const CLibraryChromatogramPeakData& thisPeak, const CLibraryChromatogramPeakData& otherPeak,
                       const CPairContext& context, double thisSumOfSquares, double otherSumOfSquares)
{
    const CSearchOptions& options = context.Options;
    CPairFactors f;
    double v = 1;
    if (options.RTMatching) {
        f.RT = RTMatch(thisPeak.RT, otherPeak.RT, options);
        v = f.RT;
    }
    if (options.RIMatching) {
        f.RI = RIMatch(thisPeak, otherPeak, options);
        v *= f.RI;
    }
    if (v < MatchConstants::StopThreshold) {
        f.Value = v;
        return f;
    }
    if (options.MSMatching) {
        f.MS = MSMatch(thisPeak.Spectrum, thisSumOfSquares, otherPeak.Spectrum, otherSumOfSquares,
                       MassThresholdOf(options));
        v *= f.MS;
    }
    if (v < MatchConstants::StopThreshold) {
        f.Value = v;
        return f;
    }
    if (options.AreaMatching) {
        f.Area = AreaMatch(thisPeak, otherPeak, options, context.ThisChromatogram.TotalArea,
                           context.OtherChromatogram.TotalArea, context.ThisRangeSum, context.OtherRangeSum);
        v *= f.Area;
    }
    if (v < MatchConstants::StopThreshold) {
        f.Value = v;
        return f;
    }
    if (options.HeightMatching) {
        f.Height = HeightMatch(thisPeak, otherPeak, options, context.ThisChromatogram.TotalHeight,
                               context.OtherChromatogram.TotalHeight);
        v *= f.Height;
    }
    f.Value = v;
    return f;
}
