#include "engine/views/PlotMapping.h"

#include <algorithm>
#include <cmath>

namespace corvelin {
namespace {

// A pixel offset as an int: values from damaged files (NaN, infinities, absurd ranges) must not overflow the
// conversion; a million pixels is far outside any window and still safe to draw to.
int PixelOffset(double offset) noexcept
{
    if (!std::isfinite(offset))
        return offset > 0 ? 1000000 : (offset < 0 ? -1000000 : 0);
    return static_cast<int>(std::clamp(offset, -1e6, 1e6));
}

} // namespace

CPixelRect CPixelRect::Normalized() const noexcept
{
    return {std::min(Left, Right), std::min(Top, Bottom), std::max(Left, Right), std::max(Top, Bottom)};
}

int CPlotMapping::XPixel(double value) const noexcept
{
    const double span = XMax - XMin;
    const double fraction = span != 0 ? (value - XMin) / span : 0;
    return Rect.Left + PixelOffset(fraction * (Rect.Width() - 20) + 0.5) + 10;
}

int CPlotMapping::YPixel(double value) const noexcept
{
    const double span = YMax - YMin;
    const double fraction = span != 0 ? (value - YMin) / span : 0;
    return Rect.Bottom - PixelOffset(fraction * (Rect.Height() - 20) + 0.5) - 10;
}

double CPlotMapping::XValue(int pixel) const noexcept
{
    const int inner = Rect.Width() - 20;
    return inner > 0 ? XMin + static_cast<double>(pixel - Rect.Left - 10) / inner * (XMax - XMin) : XMin;
}

double CPlotMapping::YValue(int pixel) const noexcept
{
    const int inner = Rect.Height() - 20;
    return inner > 0 ? YMin + static_cast<double>(Rect.Bottom - 10 - pixel) / inner * (YMax - YMin) : YMin;
}

} // namespace corvelin
