#include "readers/peak-table/PeakTablePeakList.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <numeric>

#include "readers/peak-table/TableRICalibration.h"

namespace corvelin {

namespace peaktable {

namespace {

double SumOfIntensities(const std::vector<SpectrumLine>& lines)
{
    double sum = 0;
    for (const SpectrumLine& l : lines)
        sum += l.intensity;
    return sum;
}

double LargestIntensity(const std::vector<SpectrumLine>& lines)
{
    double largest = 0;
    for (const SpectrumLine& l : lines)
        largest = std::max(largest, l.intensity);
    return largest;
}

} // namespace

void FillChromatogram(const PeakTable& table, double minAreaPercent, const std::string& dataFile,
                      CLibraryChromatogram& chromatogram)
{
    const std::vector<PeakRow>& rows = table.rows;
    // Rows in RT order (stable, so rows at one RT keep their file order).
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return rows[a].rt < rows[b].rt; });

    std::vector<double> areas(rows.size()), heights(rows.size());
    double totalArea = 0, totalHeight = 0;
    std::vector<std::pair<double, double>> riPoints;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const PeakRow& row = rows[i];
        areas[i] = row.area ? *row.area : SumOfIntensities(row.spectrum);
        heights[i] = row.height ? *row.height : LargestIntensity(row.spectrum);
        totalArea += areas[i];
        totalHeight += heights[i];
        if (row.ri && *row.ri > 0)
            riPoints.emplace_back(row.rt, *row.ri);
    }
    const bool calibrated = DeriveRICalibration(std::move(riPoints), chromatogram.RICalibration);

    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::size_t i = order[k];
        const PeakRow& row = rows[i];
        if (minAreaPercent > 0 && totalArea > 0 && areas[i] * 100 / totalArea < minAreaPercent)
            continue;
        auto peak = std::make_unique<CLibraryChromatogramPeakData>();
        peak->RT = row.rt;
        peak->Area = areas[i];
        peak->Height = heights[i];
        // The nearest rows at another RT on either side bound the peak when the table gives no edge.
        std::size_t before = k, after = k;
        while (before > 0 && rows[order[before - 1]].rt == row.rt)
            --before;
        while (after + 1 < order.size() && rows[order[after + 1]].rt == row.rt)
            ++after;
        double start = row.rt - kHalfWidth, end = row.rt + kHalfWidth;
        if (before > 0)
            start = std::max(start, (row.rt + rows[order[before - 1]].rt) / 2);
        if (after + 1 < order.size())
            end = std::min(end, (row.rt + rows[order[after + 1]].rt) / 2);
        peak->StartRT = std::min(row.start.value_or(start), row.rt);
        peak->EndRT = std::max(row.end.value_or(end), row.rt);
        if (row.ri && *row.ri > 0)
            peak->RI = *row.ri;
        else
            peak->RI = calibrated ? chromatogram.RICalibration.ComputeRI(row.rt) : -1;
        BuildSpectrum(row.spectrum, peak->Spectrum);
        chromatogram.AddPeak(std::move(peak));
    }
    chromatogram.TotalArea = totalArea;
    chromatogram.TotalHeight = totalHeight;
    chromatogram.DataFile = dataFile;
    chromatogram.SampleName = std::filesystem::path(dataFile).stem().string();
    chromatogram.NumberPeaks();
}

} // namespace peaktable

} // namespace corvelin
