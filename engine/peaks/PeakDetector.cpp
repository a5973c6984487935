#include "engine/peaks/PeakDetector.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

#include "engine/peaks/IonCurrent.h"

namespace corvelin {

namespace {

// A peak side spans at most this many scans. It bounds the work on long drifting baselines (every noise bump on a
// slope is a candidate whose walk would follow the slope) far above any chromatographic peak's width.
constexpr std::size_t kMaxSideScans = 1000;

// The run reduced to nominal masses: per scan the lines (mass, summed intensity) in ascending mass order.
struct NominalRun {
    std::vector<std::size_t> offsets{0};
    std::vector<int> masses;
    std::vector<double> intensities;
    std::vector<double> tic;

    std::size_t Begin(std::size_t s) const { return offsets[s]; }
    std::size_t End(std::size_t s) const { return offsets[s + 1]; }
};

NominalRun BinNominal(const CScanRun& run, int maxMass)
{
    NominalRun out;
    const std::size_t scans = run.ScanCount();
    out.offsets.reserve(scans + 1);
    out.tic.reserve(scans);
    out.masses.reserve(run.LineCount());
    out.intensities.reserve(run.LineCount());
    std::vector<double> bins(static_cast<std::size_t>(maxMass) + 1, 0.0);
    std::vector<int> touched;
    for (std::size_t s = 0; s < scans; ++s) {
        touched.clear();
        for (std::size_t k = run.ScanBegin(s); k < run.ScanEnd(s); ++k) {
            const double m = run.Mass(k);
            const double v = run.Intensity(k);
            if (!CountsAsIonLine(m, v, maxMass))
                continue;
            const int n = static_cast<int>(std::lround(m));
            if (bins[n] == 0)
                touched.push_back(n);
            bins[n] += v;
        }
        std::sort(touched.begin(), touched.end());
        double sum = 0;
        for (int n : touched) {
            out.masses.push_back(n);
            out.intensities.push_back(bins[n]);
            sum += bins[n];
            bins[n] = 0;
        }
        out.offsets.push_back(out.masses.size());
        out.tic.push_back(sum);
    }
    return out;
}

std::vector<double> MovingAverage(const std::vector<double>& x, int width)
{
    const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(x.size());
    const std::ptrdiff_t h = width / 2;
    std::vector<double> out(x.size());
    for (std::ptrdiff_t i = 0; i < n; ++i) {
        const std::ptrdiff_t a = std::max<std::ptrdiff_t>(0, i - h);
        const std::ptrdiff_t b = std::min<std::ptrdiff_t>(n - 1, i + h);
        double sum = 0;
        for (std::ptrdiff_t j = a; j <= b; ++j)
            sum += x[j];
        out[i] = sum / static_cast<double>(b - a + 1);
    }
    return out;
}

// Robust noise of the raw total-ion chromatogram from the scan-to-scan differences |TIC(i) - TIC(i-1)|: their lower
// quartile, scaled to a standard deviation (for normal noise the differences have deviation sigma * sqrt 2 and
// their absolute values a lower quartile of 0.3186 times that). The lower quartile stays on the noise even when
// peaks fill most of the scans, as in short extracts of a run.
double EstimateNoise(const std::vector<double>& tic)
{
    if (tic.size() < 3)
        return 0;
    std::vector<double> d(tic.size() - 1);
    for (std::size_t i = 1; i < tic.size(); ++i)
        d[i - 1] = std::fabs(tic[i] - tic[i - 1]);
    const std::size_t q = d.size() / 4;
    std::nth_element(d.begin(), d.begin() + static_cast<std::ptrdiff_t>(q), d.end());
    return d[q] / (0.3186 * std::sqrt(2.0));
}

// Walks from the apex in direction dir while the smoothed signal keeps reaching new lows; stops when it rises
// more than `rise` above the lowest point (the next peak), when no new low came for `patience` scans (the
// baseline), after kMaxSideScans scans, at the run's end, or at a scan another peak owns. Returns the lowest scan
// reached.
std::size_t WalkToEdge(const std::vector<double>& s, const std::vector<int>& owner, std::size_t apex, int dir,
                       double rise, std::size_t patience)
{
    const std::size_t n = s.size();
    std::size_t best = apex;
    double low = s[apex];
    std::size_t j = apex;
    for (std::size_t steps = 0; steps < kMaxSideScans; ++steps) {
        if ((dir < 0 && j == 0) || (dir > 0 && j + 1 >= n))
            break;
        j = dir < 0 ? j - 1 : j + 1;
        if (owner[j] >= 0) {
            if (s[j] <= low)
                best = j;
            break;
        }
        if (s[j] < low) {
            low = s[j];
            best = j;
        } else if (s[j] > low + rise) {
            break;
        }
        if ((dir < 0 ? best - j : j - best) >= patience)
            break;
    }
    return best;
}

// Intensity of nominal mass m in scan s (0 when absent); lines are sorted by mass.
double IntensityAt(const NominalRun& nr, std::size_t s, int m)
{
    const auto first = nr.masses.begin() + static_cast<std::ptrdiff_t>(nr.Begin(s));
    const auto last = nr.masses.begin() + static_cast<std::ptrdiff_t>(nr.End(s));
    const auto it = std::lower_bound(first, last, m);
    return it != last && *it == m ? nr.intensities[static_cast<std::size_t>(it - nr.masses.begin())] : 0.0;
}

std::vector<std::pair<int, double>> ApexSpectrum(const NominalRun& nr, const CScanRun& run, const CDetectedPeak& p,
                                                 double thresholdPercent)
{
    const double t0 = run.Time(p.StartScan);
    const double t1 = run.Time(p.EndScan);
    const double frac = t1 > t0 ? (run.Time(p.ApexScan) - t0) / (t1 - t0) : 0.5;
    std::vector<std::pair<int, double>> lines;
    for (std::size_t k = nr.Begin(p.ApexScan); k < nr.End(p.ApexScan); ++k) {
        const int m = nr.masses[k];
        double bg = 0;
        if (p.StartScan != p.ApexScan && p.EndScan != p.ApexScan)
            bg = (1 - frac) * IntensityAt(nr, p.StartScan, m) + frac * IntensityAt(nr, p.EndScan, m);
        const double v = nr.intensities[k] - bg;
        if (v > 0)
            lines.emplace_back(m, v);
    }
    if (lines.empty()) // everything was background: keep the apex scan as it is
        for (std::size_t k = nr.Begin(p.ApexScan); k < nr.End(p.ApexScan); ++k)
            lines.emplace_back(nr.masses[k], nr.intensities[k]);
    double largest = 0;
    for (const auto& l : lines)
        largest = std::max(largest, l.second);
    std::vector<std::pair<int, double>> out;
    if (largest <= 0)
        return out;
    for (const auto& l : lines) {
        const double pct = l.second * 100.0 / largest;
        if (pct >= thresholdPercent)
            out.emplace_back(l.first, pct);
    }
    return out;
}

} // namespace

CPeakList DetectPeaks(const CScanRun& run, const CPeakDetectorSettings& input)
{
    CPeakDetectorSettings settings = input;
    settings.Sanitize();
    CPeakList result;
    const std::size_t n = run.ScanCount();
    if (n < 3)
        return result;
    const NominalRun nr = BinNominal(run, settings.MaxNominalMass);
    const std::vector<double> smooth = MovingAverage(nr.tic, settings.SmoothingWidth);
    const double maxTic = *std::max_element(nr.tic.begin(), nr.tic.end());
    if (!(maxTic > 0))
        return result;
    // A noiseless signal still needs a floor, or every rounding ripple would count as a peak.
    const double noise = std::max(EstimateNoise(nr.tic), 1e-5 * maxTic);
    result.Noise = noise;
    const double threshold = settings.SignalToNoise * noise;
    const std::size_t half = static_cast<std::size_t>(settings.SmoothingWidth / 2);
    const std::size_t patience = static_cast<std::size_t>(settings.SmoothingWidth) + 2;

    // Candidate apexes: local maxima of the smoothed chromatogram, strongest first.
    std::vector<std::size_t> candidates;
    for (std::size_t i = 1; i + 1 < n; ++i)
        if (smooth[i] > smooth[i - 1] && smooth[i] >= smooth[i + 1])
            candidates.push_back(i);
    std::stable_sort(candidates.begin(), candidates.end(),
                     [&](std::size_t a, std::size_t b) { return smooth[a] > smooth[b]; });

    std::vector<int> owner(n, -1);
    std::vector<CDetectedPeak> peaks;
    for (std::size_t apex : candidates) {
        if (owner[apex] >= 0)
            continue;
        const std::size_t start = WalkToEdge(smooth, owner, apex, -1, threshold, patience);
        const std::size_t end = WalkToEdge(smooth, owner, apex, +1, threshold, patience);
        if (smooth[apex] - std::max(smooth[start], smooth[end]) < threshold)
            continue;
        // The apex is the largest raw scan near the smoothed maximum.
        std::size_t top = apex;
        for (std::size_t j = apex > half ? apex - half : 0; j <= std::min(n - 1, apex + half); ++j)
            if (j > start && j < end && nr.tic[j] > nr.tic[top])
                top = j;
        CDetectedPeak p;
        p.ApexScan = top;
        p.StartScan = start;
        p.EndScan = end;
        const int id = static_cast<int>(peaks.size());
        for (std::size_t i = start; i <= end; ++i)
            if (owner[i] < 0)
                owner[i] = id;
        peaks.push_back(std::move(p));
    }
    std::sort(peaks.begin(), peaks.end(),
              [](const CDetectedPeak& a, const CDetectedPeak& b) { return a.ApexScan < b.ApexScan; });
    // Peaks that meet at a valley form a cluster; each is integrated down to the cluster's baseline (the straight
    // line between the smoothed signal at the cluster's outer edges) and split from its neighbours by a
    // perpendicular drop at the valley.
    for (std::size_t first = 0; first < peaks.size();) {
        std::size_t last = first;
        while (last + 1 < peaks.size() && peaks[last + 1].StartScan <= peaks[last].EndScan + 1)
            ++last;
        const std::size_t a = peaks[first].StartScan;
        const std::size_t b = peaks[last].EndScan;
        const double t0 = run.Time(a);
        const double t1 = run.Time(b);
        const auto base = [&](std::size_t i) {
            return t1 > t0 ? smooth[a] + (smooth[b] - smooth[a]) * (run.Time(i) - t0) / (t1 - t0)
                           : 0.5 * (smooth[a] + smooth[b]);
        };
        for (std::size_t k = first; k <= last; ++k) {
            CDetectedPeak& p = peaks[k];
            double area = 0;
            for (std::size_t i = p.StartScan; i < p.EndScan; ++i) {
                const double dt = (run.Time(i + 1) - run.Time(i)) * 60.0;
                area += 0.5 * dt * ((nr.tic[i] - base(i)) + (nr.tic[i + 1] - base(i + 1)));
            }
            p.Area = area;
            p.Height = nr.tic[p.ApexScan] - base(p.ApexScan);
            p.RT = run.Time(p.ApexScan);
            p.StartRT = run.Time(p.StartScan);
            p.EndRT = run.Time(p.EndScan);
        }
        first = last + 1;
    }
    std::erase_if(peaks, [](const CDetectedPeak& p) { return !(p.Area > 0) || !(p.Height > 0); });
    for (auto& p : peaks)
        p.Spectrum = ApexSpectrum(nr, run, p, settings.SpectrumThreshold);
    std::erase_if(peaks, [](const CDetectedPeak& p) { return p.Spectrum.empty(); });
    for (const auto& p : peaks) {
        result.TotalArea += p.Area;
        result.TotalHeight += p.Height;
    }
    result.Peaks = std::move(peaks);
    return result;
}

void FilterPeaks(CPeakList& list, double minAreaPercent, int maxPeaks)
{
    if (minAreaPercent > 0 && list.TotalArea > 0)
        std::erase_if(list.Peaks,
                      [&](const CDetectedPeak& p) { return p.Area * 100.0 / list.TotalArea < minAreaPercent; });
    if (maxPeaks > 0 && list.Peaks.size() > static_cast<std::size_t>(maxPeaks)) {
        std::vector<double> areas;
        for (const auto& p : list.Peaks)
            areas.push_back(p.Area);
        std::nth_element(areas.begin(), areas.begin() + (maxPeaks - 1), areas.end(), std::greater<>());
        const double cut = areas[static_cast<std::size_t>(maxPeaks - 1)];
        std::size_t kept = 0;
        // Keep every peak above the cut, then peaks equal to it in RT order until maxPeaks are kept.
        std::size_t above = 0;
        for (const auto& p : list.Peaks)
            above += p.Area > cut;
        std::size_t equalAllowed = static_cast<std::size_t>(maxPeaks) - above;
        std::erase_if(list.Peaks, [&](const CDetectedPeak& p) {
            if (p.Area > cut)
                return (++kept, false);
            if (p.Area == cut && equalAllowed > 0)
                return (--equalAllowed, ++kept, false);
            return true;
        });
    }
}

CPeakList DetectRunPeaks(const CScanRun& run, const CPeakDetectorSettings& settings, double minAreaPercent)
{
    CPeakList list = DetectPeaks(run, settings);
    FilterPeaks(list, minAreaPercent, settings.MaxPeaks);
    return list;
}

} // namespace corvelin
