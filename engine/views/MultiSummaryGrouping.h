#pragma once
// Sorting the peaks of many chromatograms into peak groups. Each usable peak is compared with the reference peak
// of every existing group in the current group order; the first group whose match value reaches the group
// threshold (value x 1000 >= 900) takes it, replacing an earlier peak of the same chromatogram in that cell,
// otherwise the peak founds a new group. Afterwards the groups are ordered by the RT of their reference peaks.
//
// The grouper gives exactly that result, faster: with RT matching on, a group whose reference RT is farther
// from the peak than the RT difference at which the RT factor falls clearly below 0.9 cannot take the peak
// (every other factor is at most 1), so only the groups within that distance are evaluated, in group order;
// spectra are matched through spectra prepared once per chromatogram, the groups' references kept side by side.
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/compare/MatchFactors.h"
#include "engine/compare/PreparedSpectra.h"
#include "engine/compare/SpectrumMatcher.h"
#include "engine/options/SearchOptions.h"
#include "engine/views/MultiSummaryResultData.h"

namespace corvelin {

// The smallest value x 1000 with which a peak joins a group.
inline constexpr int kSummaryGroupThreshold = 900;

// The staged match value of a group's reference peak r and a peak p: RT factor, times RI factor; then, each only
// while the value is still >= 0.0005, the spectral similarity (msFactor()), the area factor and the height
// factor of the raw values (all totals 1). A stage that leaves the value below 0.0005 ends the evaluation.
// r's RT is given apart (referenceRT), and reference() gives r itself, asked only by the RI, area and height
// factors, so RT and MS matching alone never touch the reference peak's memory.
template <typename Reference, typename MSFactor>
double SummaryMatchValue(double referenceRT, Reference&& reference, const CLibraryChromatogramPeakData& p,
                         const CSearchOptions& options, MSFactor&& msFactor)
{
    double v = 1;
    if (options.RTMatching)
        v = RTMatch(referenceRT, p.RT, options);
    if (options.RIMatching)
        v *= RIMatch(reference(), p, options);
    if (v >= MatchConstants::StopThreshold && options.MSMatching)
        v *= msFactor();
    if (v >= MatchConstants::StopThreshold && options.AreaMatching)
        v *= AreaMatch(reference(), p, options, 1, 1, 1, 1);
    if (v >= MatchConstants::StopThreshold && options.HeightMatching)
        v *= HeightMatch(reference(), p, options, 1, 1);
    return v;
}

// Whether a peak takes part in the grouping: RT in the search range, area % not below the area threshold (when
// it is on) and a spectrum the spectral list does not exclude.
CORVELIN_ENGINE_EXPORT bool IsSummaryPeakUsable(const CLibraryChromatogramPeakData& peak,
                                                const CLibraryChromatogramData& chromatogram,
                                                const CSearchOptions& options);

class CORVELIN_ENGINE_EXPORT CMultiSummaryGrouper {
public:
    // Groups into result (which should be empty; chromatograms already in it take no part). The options must
    // stay unchanged while the grouper lives.
    CMultiSummaryGrouper(CMultiSummaryResultData& result, const CSearchOptions& options);
    ~CMultiSummaryGrouper();

    // The spectra of a chromatogram prepared for the grouping (nullptr when MS matching is off). Thread-safe;
    // reading threads call it so the delivering thread does not have to.
    static std::unique_ptr<CPreparedSpectra> PrepareSpectra(const CLibraryChromatogram& chromatogram,
                                                            const CSearchOptions& options);

    // Adds the chromatogram to the result record and sorts its peaks into the groups, calling step once per
    // examined peak (every peak, usable or not). spectra: from PrepareSpectra for this chromatogram, or nullptr
    // to prepare them here. Returns the chromatogram's index.
    int Add(std::unique_ptr<CLibraryChromatogram> chromatogram, std::unique_ptr<CPreparedSpectra> spectra,
            const std::function<void()>& step = {});

private:
    int FindGroup(const CPreparedSpectra* ownSpectra, int peakIndex, const CLibraryChromatogramPeakData& peak);
    void IndexGroup(int group, double rt);

    CMultiSummaryResultData& m_result;
    const CSearchOptions& m_options;
    double m_threshold;
    double m_reach;                                  // RT distance beyond which a group cannot take a peak
    bool m_byRT;                                     // candidates are looked up by RT
    int m_groupsBefore;                              // groups in the record before this grouper (not indexed)
    std::vector<double> m_groupRT;                   // per group: the reference peak's RT
    CPreparedSpectra m_references;                   // per group: the reference's spectrum (MS matching only)
    std::vector<std::pair<double, int>> m_byRTIndex; // (reference RT, group), ascending
    std::vector<int> m_candidates;
    CSpectrumMatcher m_matcher;
};

// Orders the groups by the RT of their reference peaks, ascending, with a bidirectional bubble sort that swaps
// neighbours only when the later RT is strictly smaller (groups of equal RT keep their creation order).
CORVELIN_ENGINE_EXPORT void SortSummaryGroups(CMultiSummaryResultData& result);

} // namespace corvelin
