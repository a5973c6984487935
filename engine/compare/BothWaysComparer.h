#pragma once
// The comparison of two prepared chromatograms both ways at once, as the library search makes it: "this"
// against "other" (forward) and "other" against "this" (reverse), with exactly the results of two unweighted
// CompareChromatograms calls that resolve a scratch table. The candidate pairs, the RT and RI factors and the
// MS factor of two nominal spectra are the same both ways round, so each pair is evaluated once and only its
// area and height factors per direction; each direction's peak assignment is resolved from its positive pair
// values. One comparer per thread; it keeps its scratch memory from call to call.
#include <cstdint>
#include <vector>

#include "engine/compare/CandidateIndex.h"
#include "engine/compare/PairValue.h"
#include "engine/compare/PositiveCells.h"
#include "engine/compare/SpectrumMatcher.h"
#include "engine/core/EngineExport.h"

namespace corvelin {

class CLibraryHit;
class CPreparedChromatogram;
class CSearchOptions;

class CORVELIN_ENGINE_EXPORT CBothWaysComparer {
public:
    // Whether the options can be compared this way: a weighting (1 ... 4) weighs the whole resolved table, which
    // CompareChromatograms does.
    static bool Supports(const CSearchOptions& options) noexcept;

    // Compares; both sides must be prepared with options, which Supports. Fills the forward block of forward
    // and of reverse. False when a pair value is negative or not a number (a damaged entry): such values take
    // part in a table's sums in their own way, so the caller compares with CompareChromatograms instead. False
    // too when one side has spectra that are not nominal and the other keeps no spectrum objects to merge with.
    bool Compare(const CPreparedChromatogram& self, const CPreparedChromatogram& other, const CSearchOptions& options,
                 CLibraryHit& forward, CLibraryHit& reverse);

private:
    // One direction's pass over its rows: the best pair of each row and the positive pair values.
    struct CORVELIN_ENGINE_EXPORT Direction {
        std::vector<CPositiveCell> Positives;
        std::vector<double> RowLargest;
        std::vector<double> Best;
        std::vector<int> BestIndex;
        std::vector<CPairFactors> BestFactors;
        bool Unusual = false;

        void Reset(int rows);
        void Record(int row, int column, const CPairFactors& f)
        {
            const auto i = static_cast<std::size_t>(row);
            if (f.Value > 0) {
                Positives.emplace_back(f.Value, row, column);
                if (f.Value > RowLargest[i])
                    RowLargest[i] = f.Value;
            } else if (!(f.Value >= 0)) {
                Unusual = true;
            }
            // Of equal values the lowest column wins, whatever order the pairs come in.
            if (f.Value >= MatchConstants::StopThreshold &&
                (f.Value > Best[i] || (f.Value == Best[i] && column < BestIndex[i]))) {
                Best[i] = f.Value;
                BestIndex[i] = column;
                BestFactors[i] = f;
            }
        }
    };
    // Resolves one direction, rows from rowSide and columns from columnSide, into hit; transposed: its cells are
    // those of the direction resolved last with rows and columns swapped, and that resolution serves.
    void Finish(Direction& direction, const CPreparedChromatogram& rowSide, const CPreparedChromatogram& columnSide,
                const CSearchOptions& options, CLibraryHit& hit, bool transposed);

    // A candidate pair whose MS factors are still to be taken.
    struct CORVELIN_ENGINE_EXPORT PendingPair {
        int Row;
        int Column;
        CPairFactors Retention;
        double MSForward;
        double MSReverse;
    };

    CCandidateIndex m_candidates;
    std::vector<PendingPair> m_pending;
    std::vector<std::uint32_t> m_msPairs;
    CSpectrumMatcher m_spectra;
    Direction m_forward;
    Direction m_reverse;
    CRowBestResolution m_resolution;
};

} // namespace corvelin
