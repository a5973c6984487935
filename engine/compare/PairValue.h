#pragma once
// The pair value of one peak of "this" against one peak of "other": the product of the enabled match factors,
// evaluated in a fixed order (RT, RI, MS, area, height) with an early stop once the product falls below 0.0005.
// A factor that was not evaluated stays 0, which is why the order decides the factor values of the results.
#include "engine/core/EngineExport.h"
#include "engine/compare/MatchFactors.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"

namespace corvelin {

struct CORVELIN_ENGINE_EXPORT CPairFactors {
    double Value = 1; // the pair value; it counts as a match only when >= 0.0005
    double MS = 0;
    double RT = 0;
    double RI = 0;
    double Area = 0;
    double Height = 0;
};

// The per-comparison inputs of a pair value that do not depend on the pair: the two chromatograms (for their
// totals), the options and the area sums of the peaks inside the RT search range (0 when the range is "*").
struct CORVELIN_ENGINE_EXPORT CPairContext {
    const CLibraryChromatogramData& ThisChromatogram;
    const CLibraryChromatogramData& OtherChromatogram;
    const CSearchOptions& Options;
    double ThisRangeSum = 0;
    double OtherRangeSum = 0;
};

CORVELIN_ENGINE_EXPORT CPairFactors PairValue(const CLibraryChromatogramPeakData& thisPeak,
                                              const CLibraryChromatogramPeakData& otherPeak,
                                              const CPairContext& context);
// The same with the spectra's sums of squares already computed for the options' mass threshold.
CORVELIN_ENGINE_EXPORT CPairFactors PairValue(const CLibraryChromatogramPeakData& thisPeak,
                                              const CLibraryChromatogramPeakData& otherPeak,
                                              const CPairContext& context, double thisSumOfSquares,
                                              double otherSumOfSquares);

// The first stage of the evaluation: the RT and RI factors, Value their product (1 when neither is on). Both
// factors, and so the stage, are the same with the two peaks the other way round.
inline CPairFactors RetentionFactors(const CLibraryChromatogramPeakData& thisPeak,
                                     const CLibraryChromatogramPeakData& otherPeak, const CSearchOptions& options)
{
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
    f.Value = v;
    return f;
}

// The rest of the evaluation from the factors RetentionFactors gave; msFactor() must return MSMatch(this peak's
// spectrum, other peak's spectrum, threshold) and is called only when the MS factor is reached.
template <typename MSFactor>
CPairFactors FinishPairValue(CPairFactors f, const CLibraryChromatogramPeakData& thisPeak,
                             const CLibraryChromatogramPeakData& otherPeak, const CPairContext& context,
                             MSFactor&& msFactor)
{
    const CSearchOptions& options = context.Options;
    double v = f.Value;
    if (v < MatchConstants::StopThreshold)
        return f;
    if (options.MSMatching) {
        f.MS = msFactor();
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

// The whole evaluation.
template <typename MSFactor>
CPairFactors PairValueWith(const CLibraryChromatogramPeakData& thisPeak, const CLibraryChromatogramPeakData& otherPeak,
                           const CPairContext& context, MSFactor&& msFactor)
{
    return FinishPairValue(RetentionFactors(thisPeak, otherPeak, context.Options), thisPeak, otherPeak, context,
                           msFactor);
}

} // namespace corvelin
