#include "engine/compare/PairValue.h"

namespace corvelin {

CPairFactors PairValue(const CLibraryChromatogramPeakData& thisPeak, const CLibraryChromatogramPeakData& otherPeak,
                       const CPairContext& context)
{
    return PairValueWith(thisPeak, otherPeak, context, [&] {
        return MSMatch(thisPeak.Spectrum, otherPeak.Spectrum, MassThresholdOf(context.Options));
    });
}

CPairFactors PairValue(const CLibraryChromatogramPeakData& thisPeak, const CLibraryChromatogramPeakData& otherPeak,
                       const CPairContext& context, double thisSumOfSquares, double otherSumOfSquares)
{
    return PairValueWith(thisPeak, otherPeak, context, [&] {
        return MSMatch(thisPeak.Spectrum, thisSumOfSquares, otherPeak.Spectrum, otherSumOfSquares,
                       MassThresholdOf(context.Options));
    });
}

} // namespace corvelin
