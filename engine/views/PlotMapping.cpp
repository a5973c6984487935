#include "engine/views/PlotMapping.h"

#include <algorithm>

namespace corvelin {

CPixelRect CPixelRect::Normalized() const noexcept
{
    return {std::min(Left, Right), std::min(Top, Bottom), std::max(Left, Right), std::max(Top, Bottom)};
}

int CPlotMapping::XPixel(double value) const noexcept
{
    const double span = XMax - XMin;
    const double fraction = span != 0 ? (value - XMin) / span : 0;
    return Rect.Left + static_cast<int>(fraction * (Rect.Width() - 20) + 0.5) + 10;
}

int CPlotMapping::YPixel(double value) const noexcept
{
    const double span = YMax - YMin;
    const double fraction = span != 0 ? (value - YMin) / span : 0;
    return Rect.Bottom - static_cast<int>(fraction * (Rect.Height() - 20) + 0.5) - 10;
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
