#include "engine/views/MultiSummaryGrouping.h"

#include <algorithm>
#include <cmath>

namespace corvelin {

namespace {

// Every factor but RT is at most 1 (the spectral similarity up to rounding), so a peak can join a group only
// when the RT factor reaches the threshold. The distance at which it is a little below that (the margin covers
// rounding in exp and in the similarity) bounds the groups worth evaluating; beyond the window cut-off the factor
// is 0 anyway.
double RTReach(double windowWidth, double threshold)
{
    if (!(windowWidth > 0))
        return 0;
    const double cutOff = RetentionCutOff(windowWidth);
    if (!(threshold > 0))
        return cutOff;
    const double bound = threshold * (1 - 1e-6);
    if (bound >= 1)
        return windowWidth * 1e-3;
    const double relative = std::sqrt(std::log(bound) / std::log(MatchConstants::WindowFallOff));
    return std::min(cutOff, windowWidth * relative * 1.02);
}

bool HasRetention(double rt)
{
    return rt > MatchConstants::SmallestRetention;
}

// The bidirectional bubble sort itself, for RTs that are not all comparable (NaN).
void BubbleSortByRT(std::vector<std::pair<double, int>>& order)
{
    std::size_t low = 0;
    std::size_t high = order.size() - 1;
    bool swapped = true;
    while (swapped && low < high) {
        swapped = false;
        for (std::size_t i = low; i < high; ++i) {
            if (order[i + 1].first < order[i].first) {
                std::swap(order[i], order[i + 1]);
                swapped = true;
            }
        }
        --high;
        for (std::size_t i = high; i > low; --i) {
            if (order[i].first < order[i - 1].first) {
                std::swap(order[i], order[i - 1]);
                swapped = true;
            }
        }
        ++low;
    }
}

} // namespace

bool IsSummaryPeakUsable(const CLibraryChromatogramPeakData& peak, const CLibraryChromatogramData& chromatogram,
                         const CSearchOptions& options)
{
    if (!options.IsInTimeRange(peak.RT))
        return false;
    if (options.AreaThresholdOn && peak.Area * 100 / chromatogram.TotalArea < options.AreaThreshold)
        return false;
    return !options.IsPeakExcluded(&peak.Spectrum);
}

CMultiSummaryGrouper::CMultiSummaryGrouper(CMultiSummaryResultData& result, const CSearchOptions& options)
    : m_result(result), m_options(options), m_threshold(kSummaryGroupThreshold / 1000.0),
      m_reach(RTReach(options.RTWindowWidth, m_threshold)), m_byRT(options.RTMatching != 0),
      m_groupsBefore(result.GroupCount()), m_references(MassThresholdOf(options)), m_matcher(MassThresholdOf(options))
{
    // Groups from before take part without any pruning of their own.
    for (int g = 0; g < m_groupsBefore; ++g) {
        const CLibraryChromatogramPeakData& r = *result.ReferencePeak(g);
        m_groupRT.push_back(r.RT);
        if (options.MSMatching)
            m_references.Add(r.Spectrum);
    }
}

CMultiSummaryGrouper::~CMultiSummaryGrouper() = default;

std::unique_ptr<CPreparedSpectra> CMultiSummaryGrouper::PrepareSpectra(const CLibraryChromatogram& chromatogram,
                                                                       const CSearchOptions& options)
{
    if (!options.MSMatching)
        return nullptr;
    auto spectra = std::make_unique<CPreparedSpectra>();
    spectra->PreparePeaks(chromatogram, MassThresholdOf(options));
    return spectra;
}

int CMultiSummaryGrouper::Add(std::unique_ptr<CLibraryChromatogram> chromatogram,
                              std::unique_ptr<CPreparedSpectra> spectra, const std::function<void()>& step)
{
    if (m_options.MSMatching && !spectra && chromatogram)
        spectra = PrepareSpectra(*chromatogram, m_options);
    const int c = m_result.AddChromatogram(std::move(chromatogram));
    // Side A may become a spectrum of this chromatogram's set, which goes at the end of this call.
    struct ForgetSideA {
        CSpectrumMatcher& matcher;
        ~ForgetSideA() { matcher.SetSideA(-1); }
    } forget{m_matcher};
    const CLibraryChromatogram& chrom = m_result.Chromatogram(c);
    const int peaks = static_cast<int>(chrom.Peaks.size());
    for (int i = 0; i < peaks; ++i) {
        if (step)
            step();
        const CLibraryChromatogramPeakData& p = *chrom.Peaks[static_cast<std::size_t>(i)];
        if (!IsSummaryPeakUsable(p, chrom, m_options))
            continue;
        const int g = FindGroup(spectra.get(), i, p);
        if (g >= 0) {
            m_result.SetCell(c, g, &p);
        } else {
            const int created = m_result.NewGroup(c, &p);
            m_groupRT.push_back(p.RT);
            if (m_options.MSMatching)
                m_references.Add(p.Spectrum);
            IndexGroup(created, p.RT);
        }
    }
    return c;
}

void CMultiSummaryGrouper::IndexGroup(int group, double rt)
{
    // A reference without RT can never be taken with RT matching on (its RT factor is 0).
    if (!m_byRT || !HasRetention(rt))
        return;
    const std::pair<double, int> key{rt, group};
    m_byRTIndex.insert(std::upper_bound(m_byRTIndex.begin(), m_byRTIndex.end(), key), key);
}

int CMultiSummaryGrouper::FindGroup(const CPreparedSpectra* ownSpectra, int peakIndex,
                                    const CLibraryChromatogramPeakData& p)
{
    m_candidates.clear();
    const int groups = m_result.GroupCount();
    if (m_byRT) {
        if (!HasRetention(p.RT) || !(m_reach > 0))
            return -1; // the RT factor is 0 against every group
        const auto first =
            std::lower_bound(m_byRTIndex.begin(), m_byRTIndex.end(), std::pair<double, int>{p.RT - m_reach, -1});
        for (auto it = first; it != m_byRTIndex.end() && it->first <= p.RT + m_reach; ++it)
            m_candidates.push_back(it->second);
        // Groups that were in the record before this grouper are not indexed: evaluate them too.
        for (int g = 0; g < m_groupsBefore; ++g)
            m_candidates.push_back(g);
        std::sort(m_candidates.begin(), m_candidates.end());
    } else {
        m_candidates.resize(static_cast<std::size_t>(groups));
        for (int g = 0; g < groups; ++g)
            m_candidates[static_cast<std::size_t>(g)] = g;
    }

    bool sideASet = false;
    for (int g : m_candidates) {
        const auto reference = [&]() -> const CLibraryChromatogramPeakData& { return *m_result.ReferencePeak(g); };
        const double v = SummaryMatchValue(m_groupRT[static_cast<std::size_t>(g)], reference, p, m_options, [&] {
            if (!ownSpectra)
                return MSMatch(p.Spectrum, reference().Spectrum, MassThresholdOf(m_options));
            if (!sideASet) {
                m_matcher.SetSideA(*ownSpectra, peakIndex);
                sideASet = true;
            }
            return m_matcher.Match(m_references, g);
        });
        if (v * 1000 >= kSummaryGroupThreshold)
            return g;
    }
    return -1;
}

void SortSummaryGroups(CMultiSummaryResultData& result)
{
    const int n = result.GroupCount();
    if (n < 2)
        return;
    // The sort runs on (RT, group) pairs; the record's groups are then put into the resulting order.
    std::vector<std::pair<double, int>> order(static_cast<std::size_t>(n));
    bool comparable = true;
    for (int g = 0; g < n; ++g) {
        const double rt = result.ReferencePeak(g)->RT;
        order[static_cast<std::size_t>(g)] = {rt, g};
        comparable = comparable && !std::isnan(rt);
    }
    // Swapping neighbours only when the later RT is strictly smaller moves no two equal RTs past each other and
    // stops when no neighbours are out of order: with every RT comparable that is exactly the stable order by RT.
    if (comparable)
        std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    else
        BubbleSortByRT(order);
    // Apply the permutation with swaps: position[g] = where group g currently is.
    std::vector<int> position(static_cast<std::size_t>(n));
    std::vector<int> at(static_cast<std::size_t>(n));
    for (int g = 0; g < n; ++g)
        position[static_cast<std::size_t>(g)] = at[static_cast<std::size_t>(g)] = g;
    for (int target = 0; target < n; ++target) {
        const int wanted = order[static_cast<std::size_t>(target)].second;
        const int from = position[static_cast<std::size_t>(wanted)];
        if (from == target)
            continue;
        const int displaced = at[static_cast<std::size_t>(target)];
        result.SwapGroups(target, from);
        at[static_cast<std::size_t>(target)] = wanted;
        at[static_cast<std::size_t>(from)] = displaced;
        position[static_cast<std::size_t>(wanted)] = target;
        position[static_cast<std::size_t>(displaced)] = from;
    }
}

} // namespace corvelin
