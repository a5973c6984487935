#include "engine/views/ColorScaleLegend.h"

#include <algorithm>
#include <cmath>

#include "engine/platform/CFormat.h"

namespace corvelin {
namespace {

struct EdgeNumber {
    int Edge;
    double Value;
};

std::string NumberText(double value)
{
    if (value <= 0)
        return "0";
    if (value >= 1)
        return "1";
    return FormatC("%.2f", value);
}

} // namespace

std::vector<int> ColorBandEdges(int left, int width, int n)
{
    std::vector<int> edges;
    if (n < 1)
        return edges;
    const double band = static_cast<double>(width) / n;
    for (int i = 0; i <= n; ++i)
        edges.push_back(left + static_cast<int>(std::trunc(band * i)));
    return edges;
}

CColorScaleLegend LayoutColorScale(int n, int left, int width, double labelTop, double lineHeight,
                                   const TextWidthFn& textWidth)
{
    CColorScaleLegend legend;
    legend.Edges = ColorBandEdges(left, width, n);
    if (n < 1)
        return legend;
    // "0" and "1" first, then the inner edges from left to right.
    std::vector<EdgeNumber> numbers;
    if (n == 1) {
        numbers = {{0, 0.0}, {1, 1.0}};
    } else {
        numbers = {{0, 0.0}, {n - 1, 1.0}};
        for (int k = 1; k < n - 1; ++k)
            numbers.push_back({k, static_cast<double>(k) / (n - 1)});
    }
    const double gap = textWidth("0") / 2;
    CLabelPlacer placer({static_cast<double>(left), labelTop, static_cast<double>(width), lineHeight}, gap);
    for (const EdgeNumber& number : numbers) {
        const std::string text = NumberText(number.Value);
        const double w = textWidth(text);
        const double x = legend.Edges[static_cast<std::size_t>(number.Edge)];
        placer.Place(text, {x - w / 2, labelTop, w, lineHeight}, legend.Numbers);
    }
    std::sort(legend.Numbers.begin(), legend.Numbers.end(),
              [](const CPlacedText& a, const CPlacedText& b) { return a.Box.Left < b.Box.Left; });
    return legend;
}

} // namespace corvelin
