#include "engine/views/TraceDecimation.h"

#include <algorithm>
#include <cmath>

namespace corvelin {

std::vector<CPixelPoint> DecimateMinMax(const std::vector<double>& x, const std::vector<double>& y,
                                        const CPlotMapping& mapping)
{
    std::vector<CPixelPoint> out;
    const std::size_t n = std::min(x.size(), y.size());
    if (n == 0)
        return out;
    // The visible samples plus one neighbour on each side.
    std::size_t first = static_cast<std::size_t>(std::lower_bound(x.begin(), x.begin() + n, mapping.XMin) - x.begin());
    std::size_t last = static_cast<std::size_t>(std::upper_bound(x.begin(), x.begin() + n, mapping.XMax) - x.begin());
    first = first > 0 ? first - 1 : 0;
    last = std::min(last + 1, n);
    out.reserve(2 * static_cast<std::size_t>(std::max(mapping.Rect.Width(), 0)) + 8);

    bool open = false;
    int column = 0;
    std::size_t low = 0;
    std::size_t high = 0;
    const auto flush = [&] {
        if (!open)
            return;
        const std::size_t a = std::min(low, high);
        const std::size_t b = std::max(low, high);
        out.push_back({column, mapping.YPixel(y[a])});
        if (b != a)
            out.push_back({column, mapping.YPixel(y[b])});
    };
    for (std::size_t i = first; i < last; ++i) {
        if (!std::isfinite(y[i]) || !std::isfinite(x[i]))
            continue;
        const int c = mapping.XPixel(x[i]);
        if (!open || c != column) {
            flush();
            open = true;
            column = c;
            low = high = i;
            continue;
        }
        if (y[i] < y[low])
            low = i;
        if (y[i] > y[high])
            high = i;
    }
    flush();
    return out;
}

} // namespace corvelin
