#include "engine/views/ChromatogramPlotModel.h"

#include <algorithm>
#include <cmath>
#include <strings.h>

namespace corvelin {
namespace {

double LastPeakEnd(const CLibraryChromatogram& chromatogram)
{
    return chromatogram.Peaks.empty() ? 0 : chromatogram.Peaks.back()->EndRT;
}

double Area2(long long ax, long long ay, long long bx, long long by, long long cx, long long cy) noexcept
{
    return std::fabs(static_cast<double>((bx - ax) * (cy - ay) - (cx - ax) * (by - ay))) / 2;
}

} // namespace

int CChromatogramPlotModel::Add(const CLibraryChromatogram& chromatogram, const CPlotProperties* properties)
{
    Item item;
    item.Chromatogram = std::make_unique<CLibraryChromatogram>(chromatogram);
    item.Chromatogram->SortPeaksByRT();
    item.Chromatogram->GetLargestHeight(true);
    if (properties != nullptr)
        item.Properties = *properties;
    m_items.push_back(std::move(item));
    return Count();
}

int CChromatogramPlotModel::Find(const std::string& name) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (strcasecmp(m_items[i].Chromatogram->SourcePath.c_str(), name.c_str()) == 0)
            return static_cast<int>(i);
    return -1;
}

bool CChromatogramPlotModel::Remove(const std::string& name)
{
    const int i = Find(name);
    if (i < 0)
        return false;
    m_items.erase(m_items.begin() + i);
    return true;
}

void CChromatogramPlotModel::RemoveAll()
{
    m_items.clear();
}

double CChromatogramPlotModel::LargestHeight(int i) const
{
    return m_items.at(i).Chromatogram->LargestHeight;
}

CPlotRange CChromatogramPlotModel::EffectiveRange(int i) const
{
    const Item& item = m_items.at(i);
    CPlotRange range{item.Properties.XMin, item.Properties.XMax, item.Properties.YMin, item.Properties.YMax};
    if (range.XMin == range.XMax) {
        range.XMin = 0;
        range.XMax = LastPeakEnd(*item.Chromatogram);
    }
    if (range.YMin == range.YMax) {
        range.YMin = 0;
        range.YMax = item.Chromatogram->LargestHeight;
    }
    return range;
}

CPlotRange CChromatogramPlotModel::OverallBounds() const
{
    CPlotRange bounds;
    for (const Item& item : m_items) {
        bounds.XMax = std::max(bounds.XMax, LastPeakEnd(*item.Chromatogram));
        bounds.YMax = std::max(bounds.YMax, item.Chromatogram->LargestHeight);
    }
    return bounds;
}

CPlotMapping CChromatogramPlotModel::Mapping(int i, const CPixelRect& rect) const
{
    const CPlotRange range = EffectiveRange(i);
    return {rect, range.XMin, range.XMax, range.YMin, range.YMax};
}

void CChromatogramPlotModel::SetView(double xMin, double yMinPercent, double xMax, double yMaxPercent)
{
    for (Item& item : m_items) {
        item.Properties.XMin = xMin;
        item.Properties.XMax = xMax;
        item.Properties.YMin = item.Chromatogram->LargestHeight * yMinPercent / 100;
        item.Properties.YMax = item.Chromatogram->LargestHeight * yMaxPercent / 100;
    }
}

void CChromatogramPlotModel::ShowFullScale()
{
    ShowFullRTRange();
    ShowFullHeight();
}

void CChromatogramPlotModel::ShowFullHeight()
{
    for (Item& item : m_items) {
        item.Properties.YMin = 0;
        item.Properties.YMax = item.Chromatogram->LargestHeight;
    }
}

void CChromatogramPlotModel::ShowFullRTRange()
{
    const CPlotRange bounds = OverallBounds();
    for (Item& item : m_items) {
        item.Properties.XMin = bounds.XMin;
        item.Properties.XMax = bounds.XMax;
    }
}

CPlotRange CChromatogramPlotModel::UnionPercentView() const
{
    CPlotRange view;
    for (int i = 0; i < Count(); ++i) {
        const CPlotRange range = EffectiveRange(i);
        const double largest = LargestHeight(i);
        const double low = largest > 0 ? range.YMin / largest * 100 : 0;
        const double high = largest > 0 ? range.YMax / largest * 100 : 100;
        if (i == 0) {
            view = {range.XMin, range.XMax, low, high};
        } else {
            view.XMin = std::min(view.XMin, range.XMin);
            view.XMax = std::max(view.XMax, range.XMax);
            view.YMin = std::min(view.YMin, low);
            view.YMax = std::max(view.YMax, high);
        }
    }
    return view;
}

void CChromatogramPlotModel::Move(bool right)
{
    if (m_items.empty())
        return;
    const CPlotRange view = UnionPercentView();
    double shift = 0.3 * (view.XMax - view.XMin);
    if (!right)
        shift = view.XMin - shift < 0 ? -view.XMin : -shift;
    SetView(view.XMin + shift, view.YMin, view.XMax + shift, view.YMax);
}

bool CChromatogramPlotModel::IsZoomDrag(const CPixelRect& drag) noexcept
{
    const CPixelRect r = drag.Normalized();
    return r.Width() > 20 || r.Height() > 20;
}

CPlotRange CChromatogramPlotModel::DragView(const CPixelRect& drag, const CPixelRect& rect) const
{
    const CPixelRect r = drag.Normalized();
    const CPlotMapping mapping = Mapping(0, rect);
    const double largest = LargestHeight(0);
    CPlotRange view;
    view.XMin = mapping.XValue(r.Left);
    view.XMax = mapping.XValue(r.Right);
    view.YMin = largest > 0 ? std::max(0.0, mapping.YValue(r.Bottom) / largest * 100) : 0;
    view.YMax = largest > 0 ? std::min(100.0, mapping.YValue(r.Top) / largest * 100) : 100;
    return view;
}

bool CChromatogramPlotModel::Zoom(const CPixelRect& drag, const CPixelRect& rect)
{
    if (m_items.empty() || !IsZoomDrag(drag))
        return false;
    const CPlotRange view = DragView(drag, rect);
    SetView(view.XMin, view.YMin, view.XMax, view.YMax);
    return true;
}

CPlotHit CChromatogramPlotModel::HitTest(int x, int y, const CPixelRect& rect) const
{
    for (int i = 0; i < Count(); ++i) {
        const CPlotMapping mapping = Mapping(i, rect);
        const int baseline = mapping.YPixel(0);
        const auto& peaks = m_items[i].Chromatogram->Peaks;
        for (std::size_t p = 0; p < peaks.size(); ++p) {
            const CLibraryChromatogramPeakData& peak = *peaks[p];
            if (PixelTriangleHolds(mapping.XPixel(peak.StartRT), baseline, mapping.XPixel(peak.RT),
                                   mapping.YPixel(peak.Height), mapping.XPixel(peak.EndRT), baseline, x, y))
                return {i, static_cast<int>(p)};
        }
    }
    return {};
}

bool CChromatogramPlotModel::HeightAxisPercent(double& yMinPercent, double& yMaxPercent) const
{
    if (m_items.empty())
        return false;
    const double largest = LargestHeight(0);
    if (!(largest > 0))
        return false;
    const CPlotRange range = EffectiveRange(0);
    yMinPercent = range.YMin / largest * 100;
    yMaxPercent = range.YMax / largest * 100;
    return yMaxPercent > yMinPercent;
}

bool PixelTriangleHolds(int ax, int ay, int bx, int by, int cx, int cy, int px, int py) noexcept
{
    const double area = Area2(ax, ay, bx, by, cx, cy);
    if (area == 0)
        return px == ax && py == ay;
    const double parts = Area2(px, py, bx, by, cx, cy) + Area2(ax, ay, px, py, cx, cy) + Area2(ax, ay, bx, by, px, py);
    return std::fabs(parts - area) <= 0.001;
}

} // namespace corvelin
