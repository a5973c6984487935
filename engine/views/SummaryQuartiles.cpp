#include "engine/views/SummaryQuartiles.h"

#include <cmath>
#include <utility>

namespace corvelin {

namespace {

void ShakerSort(std::vector<double>& v)
{
    if (v.size() < 2)
        return;
    std::size_t low = 0;
    std::size_t high = v.size() - 1;
    bool swapped = true;
    while (swapped && low < high) {
        swapped = false;
        for (std::size_t i = low; i < high; ++i) {
            if (v[i + 1] < v[i]) {
                std::swap(v[i], v[i + 1]);
                swapped = true;
            }
        }
        --high;
        for (std::size_t i = high; i > low; --i) {
            if (v[i] < v[i - 1]) {
                std::swap(v[i], v[i - 1]);
                swapped = true;
            }
        }
        ++low;
    }
}

} // namespace

double QuartileBound(const std::vector<double>& sorted, double p)
{
    const std::size_t n = sorted.size();
    if (n == 0)
        return 0;
    const double k = p * static_cast<double>(n);
    const double w = std::round(k);
    if (std::fabs(k - w) <= 0.0001 && w >= 1) {
        const std::size_t at = static_cast<std::size_t>(w); // 1-based position w
        if (at >= n)
            return sorted[n - 1];
        return (sorted[at - 1] + sorted[at]) / 2;
    }
    std::size_t at = static_cast<std::size_t>(std::ceil(k));
    at = at < 1 ? 1 : (at > n ? n : at);
    return sorted[at - 1];
}

CSummaryQuartiles SummaryQuartiles(std::vector<double> values)
{
    CSummaryQuartiles q;
    if (values.empty())
        return q;
    ShakerSort(values);
    q.Min = values.front();
    q.Max = values.back();
    q.Q1 = QuartileBound(values, 0.25);
    q.Q2 = QuartileBound(values, 0.5);
    q.Q3 = QuartileBound(values, 0.75);
    return q;
}

std::string QuartileClass(double area, const CSummaryQuartiles& q)
{
    if (area == q.Min)
        return "Minimum";
    if (area == q.Max)
        return "Maximum";
    if (area < q.Q1)
        return "Q1";
    if (area < q.Q2)
        return "Q2";
    if (area < q.Q3)
        return "Q3";
    if (area < q.Max)
        return "Q4";
    return "please report to helpdesk";
}

} // namespace corvelin
