#pragma once
// The peaks of "other" that can have a non-zero pair value with a given peak of "this", found through the
// retention value that must lie inside its window: RT when RT matching is on, else RI when RI matching is on,
// else every peak. Every pair it leaves out has a retention factor of exactly 0 and therefore pair value 0.
// The relation is symmetric: peak j is a candidate of peak i exactly when i would be one of j.
#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/compare/MatchFactors.h"
#include "engine/core/LibraryChromatogramPeakData.h"
#include "engine/options/SearchOptions.h"

namespace corvelin {

class CORVELIN_ENGINE_EXPORT CCandidateIndex {
public:
    enum class Axis { None, RT, RI };

    // Indexes the peaks j < takesPart.size() of "other" with takesPart[j] set; peakAt(j) gives peak j. The
    // vectors are reused from the previous Build.
    template <typename PeakAt>
    void Build(const std::vector<char>& takesPart, PeakAt&& peakAt, const CSearchOptions& options, bool prune)
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
            const CLibraryChromatogramPeakData& p = peakAt(j);
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
        // Peaks are mostly stored in retention order already.
        const auto less = [](const KeyedPeak& a, const KeyedPeak& b) {
            return a.Key < b.Key || (a.Key == b.Key && a.Index < b.Index);
        };
        if (!std::is_sorted(m_sorted.begin(), m_sorted.end(), less))
            std::sort(m_sorted.begin(), m_sorted.end(), less);
    }

    // Calls visit(j) for every candidate of the peak; every peak of "other" left out has pair value 0 with it.
    template <typename Visit> void ForEachCandidate(const CLibraryChromatogramPeakData& peak, Visit&& visit) const
    {
        Dispatch(peak, visit, [&](double q) { VisitWindow(q, visit); });
    }

    // Where the window of the last peak visited with it began: for peaks visited in retention order, as a
    // comparison takes them, each window is then found a few steps on from the one before instead of by a
    // binary search.
    struct CORVELIN_ENGINE_EXPORT Cursor {
        std::size_t First = 0;
    };
    // ForEachCandidate, the window looked for from the cursor; the same candidates in the same order.
    template <typename Visit>
    void ForEachCandidate(const CLibraryChromatogramPeakData& peak, Cursor& cursor, Visit&& visit) const
    {
        Dispatch(peak, visit, [&](double q) { VisitWindowFrom(q, cursor, visit); });
    }

private:
    // Every peak of "other" without a retention axis or for an RI of -1, none for a retention that is not
    // positive, else visitWindow(retention) visits the peaks inside its window.
    template <typename Visit, typename VisitWindowOf>
    void Dispatch(const CLibraryChromatogramPeakData& peak, Visit& visit, VisitWindowOf&& visitWindow) const
    {
        switch (m_axis) {
        case Axis::None:
            for (int j : m_all)
                visit(j);
            return;
        case Axis::RT:
            if (peak.RT > MatchConstants::SmallestRetention)
                visitWindow(peak.RT);
            return;
        case Axis::RI:
            if (peak.RI > MatchConstants::SmallestRetention) {
                visitWindow(peak.RI);
            } else if (peak.RI == -1) {
                for (int j : m_all)
                    visit(j);
            }
            return;
        }
    }

    struct CORVELIN_ENGINE_EXPORT KeyedPeak {
        double Key;
        int Index;
    };

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

    // VisitWindow with the start of the run found from the cursor's (stepping on a few peaks, else a binary
    // search on the side where it lies) and its end found by visiting.
    template <typename Visit> void VisitWindowFrom(double q, Cursor& cursor, Visit&& visit) const
    {
        const double limit = m_limit;
        const auto before = [&](const KeyedPeak& e) { return e.Key < q && !(std::fabs(q - e.Key) < limit); };
        const KeyedPeak* begin = m_sorted.data();
        const KeyedPeak* end = begin + m_sorted.size();
        const KeyedPeak* first = begin + std::min(cursor.First, m_sorted.size());
        if (first != begin && !before(first[-1])) {
            first = std::partition_point(begin, first, before);
        } else {
            for (int steps = 0; first != end && before(*first); ++first)
                if (++steps > 8) {
                    first = std::partition_point(first, end, before);
                    break;
                }
        }
        cursor.First = static_cast<std::size_t>(first - begin);
        for (const KeyedPeak* it = first; it != end && (it->Key <= q || std::fabs(q - it->Key) < limit); ++it)
            visit(it->Index);
    }

    Axis m_axis = Axis::None;
    double m_limit = 0;
    std::vector<KeyedPeak> m_sorted;
    std::vector<int> m_all;
};

} // namespace corvelin
