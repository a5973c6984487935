#include "compare/Compare.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <stdexcept>
#include <utility>
#include <vector>

#include "compare/CellTable.h"
#include "compare/CellTableResolution.h"
#include "compare/LibraryHit.h"
#include "compare/MatchFactors.h"
#include "compare/PairValue.h"
#include "compare/SpectrumMatcher.h"
#include "core/LibraryChromatogram.h"
#include "options/SearchOptions.h"

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

// Per-thread scratch memory of Compare, so that a library search does not allocate per comparison.
struct CCompareWorkspace {
    std::vector<char> thisInRange;
    std::vector<char> otherTakesPart;
    std::vector<int> otherSpectrum;
    CCandidateIndex candidates;
    CSpectrumMatcher spectra;
};

} // namespace

double CompareChromatograms(const CLibraryChromatogramData& self, const CLibraryChromatogramData& other,
                            const CSearchOptions& options, CLibraryHit* hit, CCellTable* cells,
                            const CCompareTuning& tuning)
{
    const int rows = std::max(0, self.PeakCount);
    const int columns = std::max(0, other.PeakCount);
    if (cells &&
        (static_cast<std::size_t>(rows) > cells->Rows() || static_cast<std::size_t>(columns) > cells->Columns()))
        throw std::invalid_argument("cell table smaller than the peak counts");

    // An entry may claim more peaks than it holds; the missing ones never take part, so the scratch memory and
    // the loops cover only the peaks present (a hostile count must not size an allocation).
    const int presentRows = std::min(rows, static_cast<int>(std::min<std::size_t>(self.Peaks.size(), INT_MAX)));
    const int presentColumns =
        std::min(columns, static_cast<int>(std::min<std::size_t>(other.Peaks.size(), INT_MAX)));

    // Range sums, and which peaks lie in the RT search range (also used by the weighting).
    thread_local CCompareWorkspace workspace;
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
    CSpectrumMatcher& spectra = workspace.spectra;
    spectra.Reset(MassThresholdOf(options));
    std::vector<char>& otherTakesPart = workspace.otherTakesPart;
    std::vector<int>& otherSpectrum = workspace.otherSpectrum;
    otherTakesPart.assign(presentColumns, 0);
    otherSpectrum.assign(presentColumns, -1);
    for (int j = 0; j < presentColumns; ++j) {
        const Peak* p = other.GetPeak(j);
        otherTakesPart[j] = TakesPart(other, p, options);
        if (otherTakesPart[j] && options.MSMatching)
            otherSpectrum[j] = spectra.Add(p->Spectrum);
    }
    CCandidateIndex& candidates = workspace.candidates;
    candidates.Build(other, otherTakesPart, options, tuning.PruneByRetention);
    const CPairContext context{self, other, options, thisRangeSum, otherRangeSum};

    int skipped = 0;
    int matched = 0;
    CPairFactors sums{0, 0, 0, 0, 0, 0};
    // The claimed but missing peaks of "this" are skipped rows.
    skipped = rows - presentRows;
    if (cells)
        for (int i = presentRows; i < rows; ++i)
            std::fill(cells->Row(i), cells->Row(i) + columns, -2.0);
    for (int i = 0; i < presentRows; ++i) {
        const Peak* peak = self.GetPeak(i);
        double* row = cells ? cells->Row(i) : nullptr;
        if (!TakesPart(self, peak, options)) {
            ++skipped;
            if (row)
                std::fill(row, row + columns, -2.0);
            continue;
        }
        if (row)
            std::fill(row, row + columns, 0.0);
        if (options.MSMatching)
            spectra.SetSideA(spectra.Add(peak->Spectrum));
        double best = -1;
        int bestIndex = -1;
        CPairFactors bestFactors;
        candidates.ForEachCandidate(*peak, [&](int j) {
            const CPairFactors f =
                PairValueWith(*peak, *other.GetPeak(j), context, [&] { return spectra.Match(otherSpectrum[j]); });
            if (row)
                row[j] = f.Value;
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

    double total = sums.Value;
    if (cells) {
        matched = 0;
        ResolveCellTable(options, *cells, rows, columns);
        const bool weighted = options.Weighting >= 1 && options.Weighting <= 4;
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
