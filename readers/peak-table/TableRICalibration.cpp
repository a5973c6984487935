#include "readers/peak-table/TableRICalibration.h"

#include <algorithm>
#include <limits>
#include <memory>

namespace corvelin {

namespace peaktable {

namespace {

void AddPoint(CLibraryRICalibrationData& table, const std::pair<double, double>& p)
{
    auto point = std::make_unique<CLibraryRICalibrationPoint>();
    point->RT = p.first;
    point->RI = p.second;
    table.AddPoint(std::move(point));
}

} // namespace

bool DeriveRICalibration(std::vector<std::pair<double, double>> points, CLibraryRICalibrationData& table)
{
    table.Clear();
    table.SetCalculationOption(1);
    std::sort(points.begin(), points.end());
    std::vector<std::pair<double, double>> distinct;
    for (const auto& p : points) {
        if (!distinct.empty() && p.first == distinct.back().first) {
            if (p.second != distinct.back().second)
                return false;
            continue;
        }
        if (!distinct.empty() && p.second <= distinct.back().second)
            return false;
        distinct.push_back(p);
    }
    if (distinct.size() < 2)
        return false;

    // From each kept point (the anchor) the segment runs as far as a straight line from the anchor to a row
    // passes every row in between within the tolerance: the slopes that do so form a shrinking interval.
    AddPoint(table, distinct.front());
    std::size_t anchor = 0;
    while (anchor + 1 < distinct.size()) {
        const auto [ax, ay] = distinct[anchor];
        double low = -std::numeric_limits<double>::infinity();
        double high = std::numeric_limits<double>::infinity();
        std::size_t end = anchor + 1;
        for (std::size_t j = anchor + 1; j < distinct.size(); ++j) {
            const double dx = distinct[j].first - ax;
            const double slope = (distinct[j].second - ay) / dx;
            if (slope < low || slope > high)
                break;
            end = j;
            low = std::max(low, (distinct[j].second - kRITolerance - ay) / dx);
            high = std::min(high, (distinct[j].second + kRITolerance - ay) / dx);
        }
        AddPoint(table, distinct[end]);
        anchor = end;
    }
    return true;
}

} // namespace peaktable

} // namespace corvelin
