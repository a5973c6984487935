#include "engine/compare/Compare.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

#include "engine/compare/CandidateIndex.h"
#include "engine/compare/CellTable.h"
#include "engine/core/Exceptions.h"
#include "engine/compare/CellTableResolution.h"
#include "engine/compare/LibraryHit.h"
#include "engine/compare/MatchFactors.h"
#include "engine/compare/PairValue.h"
#include "engine/compare/PositiveCells.h"
#include "engine/compare/PreparedSpectra.h"
#include "engine/compare/SpectrumMatcher.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"

namespace corvelin {

namespace {

using Peak = CLibraryChromatogramPeakData;

// The weight of a row peak for weighting 1 ... 4; 0 (or any other value) means no weighting.
double WeightOf(const Peak& peak, int weighting)
{
    switch (weighting) {
    case 1:
        return peak.Area;
    case 2:
        return peak.Height;
    case 3:
        return std::log(peak.Area);
    case 4:
        return std::log(peak.Height);
    default:
        return 1;
    }
}

// Weighting 1 ... 4 of the resolved table: every assigned cell of a row in the RT search range is multiplied by
// the row's weight and counted; then every cell of those rows except -1 is divided by the sum of their weights
// (1 when that sum is not positive) and added to total.
void WeightAndNormalise(const CLibraryChromatogramData& self, int weighting, const std::vector<char>& inRange,
                        CCellTable& cells, int columns, int& matched, double& total)
{
    const int rows = static_cast<int>(inRange.size());
    double weightSum = 0;
    for (int i = 0; i < rows; ++i) {
        if (!inRange[i])
            continue;
        const double weight = WeightOf(*self.GetPeak(i), weighting);
        weightSum += weight;
        double* row = cells.Row(i);
        for (int j = 0; j < columns; ++j) {
            if (row[j] > 0) {
                row[j] *= weight;
                ++matched;
            }
        }
    }
    if (!(weightSum > 0))
        weightSum = 1;
    total = 0;
    for (int i = 0; i < rows; ++i) {
        if (!inRange[i])
            continue;
        double* row = cells.Row(i);
        for (int j = 0; j < columns; ++j) {
            if (row[j] != -1) {
                row[j] /= weightSum;
                total += row[j];
            }
        }
    }
}

// Per-thread scratch memory of Compare, so that a library search does not allocate per comparison.
struct CCompareWorkspace {
    std::vector<CPositiveCell> positives;
    std::vector<double> rowLargest;
    std::vector<double> winner;
    std::vector<char> columnTaken;
    std::vector<char> thisInRange;
    std::vector<char> otherTakesPart;
    std::vector<int> otherSpectrum;
    CCandidateIndex candidates;
    CSpectrumMatcher spectra;
};

// The calling thread's workspace. Not inlined: a thread_local of a shared library costs a lookup at every use,
// which the compiler would otherwise repeat inside the loops.
[[gnu::noinline]] CCompareWorkspace& ThreadWorkspace()
{
    thread_local CCompareWorkspace workspace;
    return workspace;
}

// The area sums inside the RT search range.
struct CRangeSums {
    double This = 0;
    double Other = 0;
};

// The prepared spectra of both sides: a caller's set for "this" (or none: prepared per row), and the set the
// spectra of "other" are matched in.
struct CSpectraSides {
    const CPreparedSpectra* ThisSet = nullptr;
    const CPreparedSpectra* OtherSpectra = nullptr;
};

// The pass over the pairs: skipped rows, best pairs and their factor sums.
struct CPairPass {
    int Skipped = 0;
    int Matched = 0;
    CPairFactors Sums{0, 0, 0, 0, 0, 0};
    bool UnusualValue = false; // a negative pair value or one that is not a number (sparse only)
};

// What the stages of one comparison share: both sides, the options, the table and the scratch memory.
struct CCompareCall {
    const CLibraryChromatogramData& Self;
    const CLibraryChromatogramData& Other;
    const CSearchOptions& Options;
    const CCompareTuning& Tuning;
    CCellTable* Cells;
    CCompareWorkspace& Workspace;
    int Rows;           // claimed peaks of "this"
    int Columns;        // claimed peaks of "other"
    int PresentRows;    // the peaks of "this" that exist
    int PresentColumns; // the peaks of "other" that exist
    bool Weighted;
    bool Sparse; // an unweighted comparison without a table to keep: positive pair values only
};

// An entry may claim more peaks than it holds; the missing ones never take part, so the scratch memory and the
// loops cover only the peaks present (a hostile count must not size an allocation).
CCompareCall MakeCall(const CLibraryChromatogramData& self, const CLibraryChromatogramData& other,
                      const CSearchOptions& options, CCellTable* cells, const CCompareTuning& tuning)
{
    const int rows = std::max(0, self.PeakCount);
    const int columns = std::max(0, other.PeakCount);
    if (cells &&
        (static_cast<std::size_t>(rows) > cells->Rows() || static_cast<std::size_t>(columns) > cells->Columns()))
        throw CInvalidArgumentException("cell table smaller than the peak counts");
    const bool weighted = options.Weighting >= 1 && options.Weighting <= 4;
    return CCompareCall{self,
                        other,
                        options,
                        tuning,
                        cells,
                        ThreadWorkspace(),
                        rows,
                        columns,
                        std::min(rows, static_cast<int>(std::min<std::size_t>(self.Peaks.size(), INT_MAX))),
                        std::min(columns, static_cast<int>(std::min<std::size_t>(other.Peaks.size(), INT_MAX))),
                        weighted,
                        cells && tuning.TableIsScratch && !weighted};
}

// Stage 1, retention range: which peaks of "this" lie in the RT search range (the weighting uses it too) and
// the area sums of both sides inside it (0 when the range is "*").
CRangeSums RetentionRange(const CCompareCall& call)
{
    const CSearchOptions& options = call.Options;
    const bool allTimes = options.TimeRange == "*";
    std::vector<char>& thisInRange = call.Workspace.thisInRange;
    thisInRange.assign(call.PresentRows, 0);
    CRangeSums sums;
    for (int i = 0; i < call.PresentRows; ++i) {
        const Peak* p = call.Self.GetPeak(i);
        thisInRange[i] = p && (allTimes || options.IsInTimeRange(p->RT));
        if (!allTimes && thisInRange[i])
            sums.This += p->Area;
    }
    if (!allTimes) {
        for (int j = 0; j < call.PresentColumns; ++j) {
            const Peak* p = call.Other.GetPeak(j);
            if (p && options.IsInTimeRange(p->RT))
                sums.Other += p->Area;
        }
    }
    return sums;
}

// Whether a set prepared beforehand holds exactly the peaks' spectra (handle j is the spectrum of peak j) at
// the threshold.
bool IsUsableSet(const CPreparedSpectra* set, const CLibraryChromatogramData& chromatogram, double threshold)
{
    if (!set || set->Threshold() != threshold || static_cast<std::size_t>(set->Count()) != chromatogram.Peaks.size())
        return false;
    for (int k = 0; k < set->Count(); ++k) {
        const Peak* p = chromatogram.GetPeak(k);
        if (p && set->Get(k).Spectrum != &p->Spectrum)
            return false;
    }
    return true;
}

// Stage 2, spectra: which peaks of "other" take part, and their spectra prepared for matching, once per peak
// rather than once per pair (a caller's prepared sets are used where they fit); then the candidate index of
// the peaks of "other" that take part.
CSpectraSides PrepareSpectra(const CCompareCall& call)
{
    CCompareWorkspace& workspace = call.Workspace;
    const double threshold = MassThresholdOf(call.Options);
    CSpectraSides sides;
    sides.ThisSet = IsUsableSet(call.Tuning.ThisSpectra, call.Self, threshold) ? call.Tuning.ThisSpectra : nullptr;
    const CPreparedSpectra* otherSet =
        IsUsableSet(call.Tuning.OtherSpectra, call.Other, threshold) ? call.Tuning.OtherSpectra : nullptr;
    CSpectrumMatcher& spectra = workspace.spectra;
    spectra.Reset(threshold);
    std::vector<char>& otherTakesPart = workspace.otherTakesPart;
    std::vector<int>& otherSpectrum = workspace.otherSpectrum;
    otherTakesPart.assign(call.PresentColumns, 0);
    otherSpectrum.assign(call.PresentColumns, -1);
    for (int j = 0; j < call.PresentColumns; ++j) {
        const Peak* p = call.Other.GetPeak(j);
        otherTakesPart[j] = PeakTakesPart(call.Other, p, call.Options);
        if (otherTakesPart[j] && call.Options.MSMatching)
            otherSpectrum[j] = otherSet ? j : spectra.Add(p->Spectrum);
    }
    sides.OtherSpectra = otherSet ? otherSet : &spectra.Own();
    workspace.candidates.Build(
        otherTakesPart, [&](int j) -> const Peak& { return *call.Other.GetPeak(j); }, call.Options,
        call.Tuning.PruneByRetention);
    return sides;
}

// Stage 3, pair values: for every peak of "this" that takes part, the pair values with its candidates (into
// the table's row, or as positive cells when sparse), and the best one at or above the stop value for the
// factor averages; the rows of peaks that do not take part (missing peaks included) are set to -2.
CPairPass PairValues(const CCompareCall& call, const CRangeSums& range, const CSpectraSides& sides)
{
    CCompareWorkspace& workspace = call.Workspace;
    CSpectrumMatcher& spectra = workspace.spectra;
    const CPreparedSpectra& otherSpectra = *sides.OtherSpectra;
    const std::vector<int>& otherSpectrum = workspace.otherSpectrum;
    const CPairContext context{call.Self, call.Other, call.Options, range.This, range.Other};
    CCellTable* cells = call.Cells;
    const bool sparse = call.Sparse;
    const int columns = call.Columns;
    std::vector<CPositiveCell>& positives = workspace.positives;
    std::vector<double>& rowLargest = workspace.rowLargest;
    if (sparse) {
        positives.clear();
        rowLargest.assign(call.PresentRows, 0.0);
    }

    CPairPass pass;
    // The claimed but missing peaks of "this" are skipped rows.
    pass.Skipped = call.Rows - call.PresentRows;
    if (cells && !sparse)
        for (int i = call.PresentRows; i < call.Rows; ++i)
            std::fill(cells->Row(i), cells->Row(i) + columns, -2.0);
    for (int i = 0; i < call.PresentRows; ++i) {
        const Peak* peak = call.Self.GetPeak(i);
        double* row = cells && !sparse ? cells->Row(i) : nullptr;
        if (!PeakTakesPart(call.Self, peak, call.Options)) {
            ++pass.Skipped;
            if (row)
                std::fill(row, row + columns, -2.0);
            continue;
        }
        if (row)
            std::fill(row, row + columns, 0.0);
        if (call.Options.MSMatching) {
            if (sides.ThisSet)
                spectra.SetSideA(*sides.ThisSet, i);
            else
                spectra.SetSideA(spectra.Add(peak->Spectrum));
        }
        double best = -1;
        int bestIndex = -1;
        CPairFactors bestFactors;
        workspace.candidates.ForEachCandidate(*peak, [&](int j) {
            const CPairFactors f = PairValueWith(*peak, *call.Other.GetPeak(j), context,
                                                 [&] { return spectra.Match(otherSpectra, otherSpectrum[j]); });
            if (row) {
                row[j] = f.Value;
            } else if (sparse) {
                if (f.Value > 0) {
                    positives.emplace_back(f.Value, i, j);
                    if (f.Value > rowLargest[i])
                        rowLargest[i] = f.Value;
                } else if (!(f.Value >= 0)) {
                    pass.UnusualValue = true;
                }
            }
            // Candidates may come out of index order: of equal values the lowest index wins.
            if (f.Value >= MatchConstants::StopThreshold && (f.Value > best || (f.Value == best && j < bestIndex))) {
                best = f.Value;
                bestIndex = j;
                bestFactors = f;
            }
        });
        if (bestIndex >= 0) {
            ++pass.Matched;
            AddPairFactors(pass.Sums, bestFactors);
        }
    }
    // Side A may be a caller's set, which need not outlive this call.
    spectra.SetSideA(-1);
    return pass;
}

// Stage 4, resolution: without a table the best pairs count as they are; with one the table (or, when
// sparse, its positive cells) is resolved into a peak assignment and, with a weighting, weighted.
CResolvedPairs Resolve(const CCompareCall& call, const CPairPass& pass)
{
    CCompareWorkspace& workspace = call.Workspace;
    CResolvedPairs resolved{pass.Matched, pass.Sums.Value};
    if (call.Sparse) {
        workspace.columnTaken.assign(call.PresentColumns, 0);
        resolved = ResolvePositiveCells(call.Options, workspace.positives, workspace.rowLargest, workspace.thisInRange,
                                        workspace.winner, workspace.columnTaken);
    } else if (call.Cells) {
        CCellTable& cells = *call.Cells;
        resolved.Matched = 0;
        ResolveCellTable(call.Options, cells, call.Rows, call.Columns);
        if (!call.Weighted) {
            // The weight sum is 1, and dividing by 1 changes no cell: count and sum in one pass.
            resolved.Total = 0;
            for (int i = 0; i < call.PresentRows; ++i) {
                if (!workspace.thisInRange[i])
                    continue;
                const double* row = cells.Row(i);
                for (int j = 0; j < call.Columns; ++j) {
                    resolved.Matched += row[j] > 0 ? 1 : 0;
                    if (row[j] != -1)
                        resolved.Total += row[j];
                }
            }
        } else {
            WeightAndNormalise(call.Self, call.Options.Weighting, workspace.thisInRange, cells, call.Columns,
                               resolved.Matched, resolved.Total);
            resolved.Total *= call.Rows - pass.Skipped;
        }
    }
    return resolved;
}

} // namespace

double CompareChromatograms(const CLibraryChromatogramData& self, const CLibraryChromatogramData& other,
                            const CSearchOptions& options, CLibraryHit* hit, CCellTable* cells,
                            const CCompareTuning& tuning)
{
    const CCompareCall call = MakeCall(self, other, options, cells, tuning);
    const CRangeSums range = RetentionRange(call);
    const CSpectraSides sides = PrepareSpectra(call);
    const CPairPass pass = PairValues(call, range, sides);
    if (call.Sparse && pass.UnusualValue) {
        // Such values take part in the table's sums in their own way: the whole table is resolved.
        CCompareTuning withTable = tuning;
        withTable.TableIsScratch = false;
        return CompareChromatograms(self, other, options, hit, cells, withTable);
    }
    return SummariseComparison(call.Rows - pass.Skipped, Resolve(call, pass), pass.Sums, hit);
}

double CLibraryChromatogram::Compare(const CLibraryChromatogram& other, const CSearchOptions& options, CLibraryHit& hit,
                                     CCellTable* cells) const
{
    return CompareChromatograms(*this, other, options, &hit, cells);
}

} // namespace corvelin
