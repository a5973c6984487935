#include "readers/amdis-elu/EluPeakList.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

#include "readers/peak-list/PeakListPluginSupport.h"

namespace corvelin {

namespace amdis {

ScanClock DeriveScanClock(const std::vector<EluComponent>& components)
{
    long double n = 0, sx = 0, sy = 0;
    for (const EluComponent& c : components) {
        if (c.scan && c.rt) {
            n += 1;
            sx += *c.scan;
            sy += *c.rt;
        }
    }
    ScanClock clock;
    if (n < 2)
        return clock;
    const long double mx = sx / n, my = sy / n;
    long double sxx = 0, sxy = 0;
    for (const EluComponent& c : components) {
        if (c.scan && c.rt) {
            sxx += (*c.scan - mx) * (*c.scan - mx);
            sxy += (*c.scan - mx) * (*c.rt - my);
        }
    }
    if (sxx <= 0)
        return clock; // every component at one scan
    const double slope = static_cast<double>(sxy / sxx);
    if (!std::isfinite(slope) || slope <= 0)
        return clock;
    clock.interval = slope;
    clock.offset = static_cast<double>(my - sxy / sxx * mx);
    return clock;
}

double ComponentArea(const EluComponent& c)
{
    if (c.extended && *c.extended > 0)
        return *c.extended;
    if (c.signal && *c.signal > 0)
        return *c.signal;
    double sum = 0;
    for (const double v : c.profile)
        sum += std::max(v, 0.0);
    return sum;
}

double ComponentHeight(const EluComponent& c)
{
    if (!c.profile.empty())
        return std::max(0.0, *std::max_element(c.profile.begin(), c.profile.end()));
    double scans = 2;
    if (c.firstScan && c.lastScan && *c.lastScan >= *c.firstScan)
        scans = static_cast<double>(*c.lastScan) - *c.firstScan + 1;
    return 2 * ComponentArea(c) / scans;
}

double EstimateTotalArea(const std::vector<EluComponent>& components)
{
    std::vector<double> totals;
    double sum = 0;
    for (const EluComponent& c : components) {
        sum += ComponentArea(c);
        if (c.extended && c.relativeAmount && *c.extended > 0 && *c.relativeAmount > 0) {
            const double total = *c.extended * 100 / *c.relativeAmount;
            if (std::isfinite(total))
                totals.push_back(total);
        }
    }
    if (totals.empty())
        return sum;
    const auto middle = totals.begin() + static_cast<std::ptrdiff_t>(totals.size() / 2);
    std::nth_element(totals.begin(), middle, totals.end());
    if (totals.size() % 2 == 1)
        return *middle;
    const double upper = *middle;
    const double lower = *std::max_element(totals.begin(), middle);
    return (lower + upper) / 2;
}

void BuildSpectrum(const std::vector<PeakPair>& pairs, bool keepFlagged, CLibraryMassSpectrumData& spectrum)
{
    std::map<double, double> lines; // mass -> abundance, ascending
    for (const PeakPair& p : pairs) {
        if (p.mass < 1 || (p.Flagged() && !keepFlagged))
            continue;
        double& abundance = lines[p.mass];
        abundance = std::max(abundance, p.abundance);
    }
    double largest = 0;
    for (const auto& [mass, abundance] : lines)
        largest = std::max(largest, abundance);
    spectrum.Clear();
    spectrum.Points().reserve(lines.size());
    for (const auto& [mass, abundance] : lines)
        spectrum.Append(CLibraryMassSpectrumPoint(mass, largest > 0 ? abundance * 100 / largest : 0));
    spectrum.ApplyWeighting();
}

void FillChromatogram(const EluFile& file, const EluReadOptions& options, const std::string& dataFile,
                      CLibraryChromatogram& chromatogram)
{
    const std::vector<EluComponent>& components = file.components;
    const ScanClock clock = DeriveScanClock(components);
    const double totalArea = EstimateTotalArea(components);
    double totalHeight = 0;
    for (const EluComponent& c : components)
        totalHeight += ComponentHeight(c);

    std::vector<std::unique_ptr<CLibraryChromatogramPeakData>> peaks;
    for (const EluComponent& c : components) {
        const double area = ComponentArea(c);
        if (peaklist::BelowMinimumArea(area, totalArea, options.minAreaPercent))
            continue;
        auto peak = std::make_unique<CLibraryChromatogramPeakData>();
        peak->Area = area;
        peak->Height = ComponentHeight(c);
        if (c.rt)
            peak->RT = *c.rt;
        else if (c.scan && clock.Known())
            peak->RT = clock.offset + clock.interval * *c.scan;
        peak->StartRT = peak->EndRT = peak->RT;
        if (clock.Known() && c.scan && c.firstScan && c.lastScan) {
            const double before = static_cast<double>(*c.scan) - *c.firstScan;
            const double after = static_cast<double>(*c.lastScan) - *c.scan;
            peak->StartRT = std::min(peak->RT, peak->RT - before * clock.interval);
            peak->EndRT = std::max(peak->RT, peak->RT + after * clock.interval);
        }
        peak->RI = -1; // no calibration yet; the program recalibrates peak lists of other data systems
        BuildSpectrum(c.pairs, options.keepFlaggedLines, peak->Spectrum);
        peaks.push_back(std::move(peak));
    }
    std::stable_sort(peaks.begin(), peaks.end(), [](const auto& a, const auto& b) { return a->RT < b->RT; });

    for (auto& peak : peaks)
        chromatogram.AddPeak(std::move(peak));
    peaklist::FinishPeakList(chromatogram, totalArea, totalHeight, dataFile);
}

} // namespace amdis

} // namespace corvelin
