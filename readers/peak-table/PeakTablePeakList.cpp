#include "readers/peak-table/PeakTablePeakList.h"

#include <algorithm>
#include <memory>
#include <numeric>

#include "readers/peak-table/TableRICalibration.h"
#include "readers/peak-list/PeakListPluginSupport.h"

namespace corvelin {

namespace peaktable {

void FillChromatogram(const PeakTable& table, double minAreaPercent, const std::string& dataFile,
                      CLibraryChromatogram& chromatogram)
{
    const std::vector<PeakRow>& rows = table.rows;
    // Rows in RT order (stable, so rows at one RT keep their file order).
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return rows[a].rt < rows[b].rt; });

    double totalArea = 0, totalHeight = 0;
    std::vector<std::pair<double, double>> riPoints;
    for (const PeakRow& row : rows) {
        totalArea += row.area;
        totalHeight += row.height;
        if (row.ri && *row.ri > 0)
            riPoints.emplace_back(row.rt, *row.ri);
    }
    const bool calibrated = DeriveRICalibration(std::move(riPoints), chromatogram.RICalibration);

    // One peak per row; the nearest rows at another RT on either side (outside the row's run of equal RTs, found
    // once per run) bound the peak when the table gives no edge.
    const auto sameRT = [&](std::size_t a, std::size_t b) { return rows[order[a]].rt == rows[order[b]].rt; };
    ForEachEqualRun(order.size(), sameRT, [&](std::size_t before, std::size_t after) {
        for (std::size_t k = before; k <= after; ++k) {
            const PeakRow& row = rows[order[k]];
            if (peaklist::BelowMinimumArea(row.area, totalArea, minAreaPercent))
                continue;
            auto peak = std::make_unique<CLibraryChromatogramPeakData>();
            peak->RT = row.rt;
            peak->Area = row.area;
            peak->Height = row.height;
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
    });
    peaklist::FinishPeakList(chromatogram, totalArea, totalHeight, dataFile);
}

} // namespace peaktable

} // namespace corvelin
