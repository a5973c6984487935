#include "engine/compare/Compare.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

#include "engine/core/Exceptions.h"
#include "engine/compare/CellTable.h"
#include "engine/compare/CellTableResolution.h"
#include "engine/compare/LibraryHit.h"
#include "engine/compare/MatchFactors.h"
#include "engine/compare/PairValue.h"
#include "engine/compare/PreparedSpectra.h"
#include "engine/compare/SpectrumMatcher.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"

namespace corvelin {

namespace {

using Peak = CLibraryChromatogramPeakData;

// Whether a peak takes part in the comparison: inside the RT search range, not below the area threshold and
// not left out by the spectral list. A missing peak (PeakCount larger than the peak array) never takes part.
// With a total area of 0 the percentage is not a number below the threshold, so the threshold keeps the peak.
bool TakesPart(const CLibraryChromatogramData& chromatogram, const Peak* peak, const CSearchOptions& options)
{
    if (!peak || !options.IsInTimeRange(peak->RT))
        return false;
    if (options.AreaThresholdOn && peak->Area * 100 / chromatogram.TotalArea < options.AreaThreshold)
        return false;
    return !options.IsPeakExcluded(&peak->Spectrum);
}

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

struct KeyedPeak {
    double Key;
    int Index;
};

// The peaks of "other" that can have a non-zero pair value with a given peak of "this", found through the
// retention value that must lie inside its window.
class CCandidateIndex {
public:
    enum class Axis { None, RT, RI };

    // Indexes the peaks of "other" that take part (the vectors are reused from the previous comparison).
    void Build(const CLibraryChromatogramData& other, const std::vector<char>& takesPart, const CSearchOptions& options,
               bool prune)
    {
        m_axis = Axis::None;
        m_limit = 0;
        m_sorted.clear();
        m_all.clear();
        if (prune && options.RTMatching) {
            m_axis = Axis::RT;
            m_limit = RetentionCutOff(options.RTWindowWidth);
        } else if (prune && options.RIMatching) {
            m_axis = Axis::RI;
            m_limit = RetentionCutOff(options.RIWindowWidth);
        }
        for (int j = 0; j < static_cast<int>(takesPart.size()); ++j) {
            if (!takesPart[j])
                continue;
            const Peak& p = *other.GetPeak(j);
            switch (m_axis) {
            case Axis::None:
                m_all.push_back(j);
                break;
            case Axis::RT:
                // An RT not above 0.001 (or not a number) gives RT factor 0 with every peak.
                if (p.RT > MatchConstants::SmallestRetention)
                    m_sorted.push_back({p.RT, j});
                break;
            case Axis::RI:
                if (p.RI > MatchConstants::SmallestRetention)
                    m_sorted.push_back({p.RI, j});
                else if (p.RI == -1)
                    m_all.push_back(j); // uncalibrated: factor 1 only against an uncalibrated peak
                break;
            }
        }
        std::sort(m_sorted.begin(), m_sorted.end(), [](const KeyedPeak& a, const KeyedPeak& b) {
            return a.Key < b.Key || (a.Key == b.Key && a.Index < b.Index);
        });
    }

    // Calls visit(j) for every candidate of the peak; every peak of "other" left out has pair value 0 with it.
    template <typename Visit> void ForEachCandidate(const Peak& peak, Visit&& visit) const
    {
        switch (m_axis) {
        case Axis::None:
            for (int j : m_all)
                visit(j);
            return;
        case Axis::RT:
            if (peak.RT > MatchConstants::SmallestRetention)
                VisitWindow(peak.RT, visit);
            return;
        case Axis::RI:
            if (peak.RI > MatchConstants::SmallestRetention) {
                VisitWindow(peak.RI, visit);
            } else if (peak.RI == -1) {
                for (int j : m_all)
                    visit(j);
            }
            return;
        }
    }

private:
    // Visits the sorted peaks whose difference to q is below the cut-off, computed exactly as the retention
    // factor computes it. |q - key| does not decrease as key moves away from q (rounding is monotonic), so those
    // peaks form one contiguous run of the sorted array.
    template <typename Visit> void VisitWindow(double q, Visit&& visit) const
    {
        const double limit = m_limit;
        const auto first = std::partition_point(m_sorted.begin(), m_sorted.end(), [&](const KeyedPeak& e) {
            return e.Key < q && !(std::fabs(q - e.Key) < limit);
        });
        const auto last = std::partition_point(
            first, m_sorted.end(), [&](const KeyedPeak& e) { return e.Key <= q || std::fabs(q - e.Key) < limit; });
        for (auto it = first; it != last; ++it)
            visit(it->Index);
    }

    Axis m_axis = Axis::None;
    double m_limit = 0;
    std::vector<KeyedPeak> m_sorted;
    std::vector<int> m_all;
};

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

// A positive pair value with its place, keyed for the greedy one-to-one order: the bits of a positive double
// (infinity included) ascend with its value, so Order ascending is value descending, and Position ascending is
// row-major order; equal values have equal bits.
struct CPositiveCell {
    std::uint64_t Order;
    std::uint64_t Position;

    CPositiveCell(double value, int row, int column)
        : Order(~std::bit_cast<std::uint64_t>(value)),
          Position(static_cast<std::uint64_t>(row) << 32 | static_cast<std::uint32_t>(column))
    {
    }
    double Value() const noexcept { return std::bit_cast<double>(~Order); }
    int Row() const noexcept { return static_cast<int>(Position >> 32); }
    int Column() const noexcept { return static_cast<int>(Position & 0xFFFFFFFFu); }
};

// The unweighted total and match count of a resolved table, from its positive cells alone. In a resolved
// unweighted table every cell that is not a winner (one-to-one) or not its row's kept largest value (multiple
// matching) is 0, -0 or -1; the zeros leave the row-major sum unchanged and -1 is not added, so the total is the
// sum of the winners in row order. This holds only when no pair value is negative or not a number.
void ResolvePositiveCells(const CSearchOptions& options, std::vector<CPositiveCell>& positives,
                          const std::vector<double>& rowLargest, const std::vector<char>& inRange,
                          std::vector<double>& winner, std::vector<char>& columnTaken, int& matched, double& total)
{
    const int rows = static_cast<int>(inRange.size());
    if (options.MultipleMatching) {
        // Each row keeps its largest value (the first of equal ones, which has the same value).
        for (int i = 0; i < rows; ++i) {
            if (!inRange[i])
                continue;
            matched += rowLargest[i] > 0 ? 1 : 0;
            total += rowLargest[i];
        }
        return;
    }
    // The greedy one-to-one rule over the positive cells: value descending, ties in row-major order.
    std::sort(positives.begin(), positives.end(), [](const CPositiveCell& a, const CPositiveCell& b) {
        return a.Order < b.Order || (a.Order == b.Order && a.Position < b.Position);
    });
    winner.assign(rows, 0.0);
    for (const CPositiveCell& c : positives) {
        const int row = c.Row();
        const int column = c.Column();
        if (winner[row] > 0 || columnTaken[column])
            continue;
        winner[row] = c.Value();
        columnTaken[column] = 1;
    }
    for (int i = 0; i < rows; ++i) {
        if (!inRange[i] || !(winner[i] > 0))
            continue;
        ++matched;
        total += winner[i];
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

} // namespace

double CompareChromatograms(const CLibraryChromatogramData& self, const CLibraryChromatogramData& other,
                            const CSearchOptions& options, CLibraryHit* hit, CCellTable* cells,
                            const CCompareTuning& tuning)
{
    const int rows = std::max(0, self.PeakCount);
    const int columns = std::max(0, other.PeakCount);
    if (cells &&
        (static_cast<std::size_t>(rows) > cells->Rows() || static_cast<std::size_t>(columns) > cells->Columns()))
        throw CInvalidArgumentException("cell table smaller than the peak counts");

    // An entry may claim more peaks than it holds; the missing ones never take part, so the scratch memory and
    // the loops cover only the peaks present (a hostile count must not size an allocation).
    const int presentRows = std::min(rows, static_cast<int>(std::min<std::size_t>(self.Peaks.size(), INT_MAX)));
    const int presentColumns = std::min(columns, static_cast<int>(std::min<std::size_t>(other.Peaks.size(), INT_MAX)));

    // Range sums, and which peaks lie in the RT search range (also used by the weighting).
    CCompareWorkspace& workspace = ThreadWorkspace();
    const bool allTimes = options.TimeRange == "*";
    std::vector<char>& thisInRange = workspace.thisInRange;
    thisInRange.assign(presentRows, 0);
    double thisRangeSum = 0;
    double otherRangeSum = 0;
    for (int i = 0; i < presentRows; ++i) {
        const Peak* p = self.GetPeak(i);
        thisInRange[i] = p && (allTimes || options.IsInTimeRange(p->RT));
        if (!allTimes && thisInRange[i])
            thisRangeSum += p->Area;
    }
    if (!allTimes) {
        for (int j = 0; j < presentColumns; ++j) {
            const Peak* p = other.GetPeak(j);
            if (p && options.IsInTimeRange(p->RT))
                otherRangeSum += p->Area;
        }
    }

    // Participation of the peaks of "other", and their spectra prepared for matching, once per peak rather
    // than once per pair.
    // A set prepared beforehand is used when it holds exactly the peaks' spectra (handle j is the spectrum of
    // peak j) at the options' threshold.
    const double threshold = MassThresholdOf(options);
    auto usable = [&](const CPreparedSpectra* set, const CLibraryChromatogramData& chromatogram) {
        if (!set || set->Threshold() != threshold ||
            static_cast<std::size_t>(set->Count()) != chromatogram.Peaks.size())
            return false;
        for (int k = 0; k < set->Count(); ++k) {
            const Peak* p = chromatogram.GetPeak(k);
            if (p && set->Get(k).Spectrum != &p->Spectrum)
                return false;
        }
        return true;
    };
    const CPreparedSpectra* thisSet = usable(tuning.ThisSpectra, self) ? tuning.ThisSpectra : nullptr;
    const CPreparedSpectra* otherSet = usable(tuning.OtherSpectra, other) ? tuning.OtherSpectra : nullptr;
    CSpectrumMatcher& spectra = workspace.spectra;
    spectra.Reset(threshold);
    std::vector<char>& otherTakesPart = workspace.otherTakesPart;
    std::vector<int>& otherSpectrum = workspace.otherSpectrum;
    otherTakesPart.assign(presentColumns, 0);
    otherSpectrum.assign(presentColumns, -1);
    for (int j = 0; j < presentColumns; ++j) {
        const Peak* p = other.GetPeak(j);
        otherTakesPart[j] = TakesPart(other, p, options);
        if (otherTakesPart[j] && options.MSMatching)
            otherSpectrum[j] = otherSet ? j : spectra.Add(p->Spectrum);
    }
    const CPreparedSpectra& otherSpectra = otherSet ? *otherSet : spectra.Own();
    CCandidateIndex& candidates = workspace.candidates;
    candidates.Build(other, otherTakesPart, options, tuning.PruneByRetention);
    const CPairContext context{self, other, options, thisRangeSum, otherRangeSum};

    const bool weighted = options.Weighting >= 1 && options.Weighting <= 4;
    // Without a table to keep, an unweighted comparison collects the positive pair values instead.
    const bool sparse = cells && tuning.TableIsScratch && !weighted;
    std::vector<CPositiveCell>& positives = workspace.positives;
    std::vector<double>& rowLargest = workspace.rowLargest;
    if (sparse) {
        positives.clear();
        rowLargest.assign(presentRows, 0.0);
    }
    bool unusualValue = false; // a negative pair value or one that is not a number (sparse only)

    int skipped = 0;
    int matched = 0;
    CPairFactors sums{0, 0, 0, 0, 0, 0};
    // The claimed but missing peaks of "this" are skipped rows.
    skipped = rows - presentRows;
    if (cells && !sparse)
        for (int i = presentRows; i < rows; ++i)
            std::fill(cells->Row(i), cells->Row(i) + columns, -2.0);
    for (int i = 0; i < presentRows; ++i) {
        const Peak* peak = self.GetPeak(i);
        double* row = cells && !sparse ? cells->Row(i) : nullptr;
        if (!TakesPart(self, peak, options)) {
            ++skipped;
            if (row)
                std::fill(row, row + columns, -2.0);
            continue;
        }
        if (row)
            std::fill(row, row + columns, 0.0);
        if (options.MSMatching) {
            if (thisSet)
                spectra.SetSideA(*thisSet, i);
            else
                spectra.SetSideA(spectra.Add(peak->Spectrum));
        }
        double best = -1;
        int bestIndex = -1;
        CPairFactors bestFactors;
        candidates.ForEachCandidate(*peak, [&](int j) {
            const CPairFactors f = PairValueWith(*peak, *other.GetPeak(j), context,
                                                 [&] { return spectra.Match(otherSpectra, otherSpectrum[j]); });
            if (row) {
                row[j] = f.Value;
            } else if (sparse) {
                if (f.Value > 0) {
                    positives.emplace_back(f.Value, i, j);
                    if (f.Value > rowLargest[i])
                        rowLargest[i] = f.Value;
                } else if (!(f.Value >= 0)) {
                    unusualValue = true;
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
            ++matched;
            sums.Value += bestFactors.Value;
            sums.MS += bestFactors.MS;
            sums.RT += bestFactors.RT;
            sums.RI += bestFactors.RI;
            sums.Area += bestFactors.Area;
            sums.Height += bestFactors.Height;
        }
    }

    // Side A may be a caller's set, which need not outlive this call.
    spectra.SetSideA(-1);

    if (sparse && unusualValue) {
        // Such values take part in the table's sums in their own way: the whole table is resolved.
        CCompareTuning withTable = tuning;
        withTable.TableIsScratch = false;
        return CompareChromatograms(self, other, options, hit, cells, withTable);
    }

    double total = sums.Value;
    if (sparse) {
        matched = 0;
        total = 0;
        workspace.columnTaken.assign(presentColumns, 0);
        ResolvePositiveCells(options, positives, rowLargest, thisInRange, workspace.winner, workspace.columnTaken,
                             matched, total);
    } else if (cells) {
        matched = 0;
        ResolveCellTable(options, *cells, rows, columns);
        if (!weighted) {
            // The weight sum is 1, and dividing by 1 changes no cell: count and sum in one pass.
            total = 0;
            for (int i = 0; i < presentRows; ++i) {
                if (!thisInRange[i])
                    continue;
                const double* row = cells->Row(i);
                for (int j = 0; j < columns; ++j) {
                    matched += row[j] > 0 ? 1 : 0;
                    if (row[j] != -1)
                        total += row[j];
                }
            }
        } else {
            WeightAndNormalise(self, options.Weighting, thisInRange, *cells, columns, matched, total);
            total *= rows - skipped;
        }
    }

    const int considered = rows - skipped;
    const double overall = considered >= 1 ? total / considered : 0.0;
    if (hit) {
        hit->ConsideredPeaks = considered;
        hit->MatchedPeaks = matched;
        hit->Overall = overall;
        const double n = considered;
        hit->MSAverage = considered >= 1 ? sums.MS / n : 0.0;
        hit->RTAverage = considered >= 1 ? sums.RT / n : 0.0;
        hit->RIAverage = considered >= 1 ? sums.RI / n : 0.0;
        hit->AreaAverage = considered >= 1 ? sums.Area / n : 0.0;
        hit->HeightAverage = considered >= 1 ? sums.Height / n : 0.0;
    }
    return overall;
}

double CLibraryChromatogram::Compare(const CLibraryChromatogram& other, const CSearchOptions& options, CLibraryHit& hit,
                                     CCellTable* cells) const
{
    return CompareChromatograms(*this, other, options, &hit, cells);
}

} // namespace corvelin
