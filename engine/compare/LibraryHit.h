#pragma once
// The result of comparing two chromatograms: overall match, the averages of the five match factors over the
// best pairs and the peak counts, for the forward direction ("this" against "other", filled by Compare) and
// the reverse direction (filled by whoever compares both ways, from the forward block of the reverse hit).
// -1 marks a value that was never computed.
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CSearchOptions;

class CORVELIN_ENGINE_EXPORT CLibraryHit {
public:
    double Overall = -1;
    double MSAverage = -1;
    double RTAverage = -1;
    double RIAverage = -1;
    double AreaAverage = -1;
    double HeightAverage = -1;
    int MatchedPeaks = 0;
    int ConsideredPeaks = 0;

    double ReverseOverall = -1;
    double ReverseMSAverage = -1;
    double ReverseRTAverage = -1;
    double ReverseRIAverage = -1;
    double ReverseAreaAverage = -1;
    double ReverseHeightAverage = -1;
    int ReverseMatchedPeaks = 0;
    int ReverseConsideredPeaks = 0;

    CLibraryHit() = default;
    CLibraryHit(const CLibraryHit&) = default;
    CLibraryHit& operator=(const CLibraryHit&) = default;
    virtual ~CLibraryHit() = default;

    // Copies the forward block of reverse (the hit of the comparison the other way round) into this reverse block.
    void SetReverseFrom(const CLibraryHit& reverse) noexcept;

    bool operator==(const CLibraryHit&) const = default;
};

// The HTML details of a comparison both ways: forward holds "this" against "other", reverse (its forward block)
// "other" against "this". The peak counts are the PeakCount values of the two chromatograms. A factor switched
// off in options is shown as ignored, whatever its average.
CORVELIN_ENGINE_EXPORT std::string MatchDetailsText(const CLibraryHit& forward, const CLibraryHit& reverse,
                                                    int thisPeakCount, int otherPeakCount,
                                                    const CSearchOptions& options);

} // namespace corvelin
