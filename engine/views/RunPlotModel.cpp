#include "engine/views/RunPlotModel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace corvelin {

namespace {

double LargestFinite(const std::vector<double>& values, std::size_t count)
{
    double largest = 0;
    for (std::size_t i = 0; i < std::min(count, values.size()); ++i)
        if (std::isfinite(values[i]))
            largest = std::max(largest, values[i]);
    return largest;
}

} // namespace

void CRunPlotModel::SetRun(std::vector<double> times, std::vector<double> tic)
{
    const std::size_t n = std::min(times.size(), tic.size());
    times.resize(n);
    tic.resize(n);
    m_times = std::move(times);
    m_tic = std::move(tic);
    m_traces.clear();
    m_peaks.clear();
    ShowFullScale();
}

void CRunPlotModel::SetPeaks(const CPeakList& peaks)
{
    m_peaks.clear();
    for (const CDetectedPeak& peak : peaks.Peaks)
        if (peak.ApexScan < m_times.size() && peak.StartScan < m_times.size() && peak.EndScan < m_times.size())
            m_peaks.push_back(peak);
}

void CRunPlotModel::SetIonTraces(std::vector<CIonTrace> traces)
{
    for (CIonTrace& trace : traces)
        if (trace.Values.size() > m_times.size())
            trace.Values.resize(m_times.size());
    m_traces = std::move(traces);
}

CPlotRange CRunPlotModel::FullRange() const
{
    CPlotRange range;
    if (m_times.empty())
        return {0, 1, 0, 1};
    range.XMin = m_times.front();
    range.XMax = m_times.back();
    if (!(range.XMax > range.XMin))
        range.XMax = range.XMin + 1;
    double top = LargestFinite(m_tic, m_times.size());
    for (const CIonTrace& trace : m_traces)
        top = std::max(top, LargestFinite(trace.Values, m_times.size()));
    range.YMin = 0;
    range.YMax = top > 0 ? top : 1;
    return range;
}

void CRunPlotModel::SetView(const CPlotRange& view)
{
    const CPlotRange full = FullRange();
    m_view = view;
    if (!(view.XMax > view.XMin) || !std::isfinite(view.XMin) || !std::isfinite(view.XMax)) {
        m_view.XMin = full.XMin;
        m_view.XMax = full.XMax;
    }
    if (!(view.YMax > view.YMin) || !std::isfinite(view.YMin) || !std::isfinite(view.YMax)) {
        m_view.YMin = full.YMin;
        m_view.YMax = full.YMax;
    }
}

bool CRunPlotModel::Zoom(const CPixelRect& drag, const CPixelRect& rect)
{
    if (IsEmpty() || !CChromatogramPlotModel::IsZoomDrag(drag))
        return false;
    const CPixelRect r = drag.Normalized();
    const CPlotMapping mapping = Mapping(rect);
    CPlotRange view;
    view.XMin = mapping.XValue(r.Left);
    view.XMax = mapping.XValue(r.Right);
    view.YMin = std::max(0.0, mapping.YValue(r.Bottom));
    view.YMax = mapping.YValue(r.Top);
    // A drag wide only in one direction keeps the other axis.
    if (r.Width() <= 20) {
        view.XMin = m_view.XMin;
        view.XMax = m_view.XMax;
    }
    if (r.Height() <= 20) {
        view.YMin = m_view.YMin;
        view.YMax = m_view.YMax;
    }
    SetView(view);
    return true;
}

CPlotMapping CRunPlotModel::Mapping(const CPixelRect& rect) const
{
    return {rect, m_view.XMin, m_view.XMax, m_view.YMin, m_view.YMax};
}

std::vector<CPixelPoint> CRunPlotModel::Polyline(int trace, const CPixelRect& rect) const
{
    if (trace < 0)
        return DecimateMinMax(m_times, m_tic, Mapping(rect));
    if (static_cast<std::size_t>(trace) >= m_traces.size())
        return {};
    return DecimateMinMax(m_times, m_traces[static_cast<std::size_t>(trace)].Values, Mapping(rect));
}

CPeakMarkPixels CRunPlotModel::Marks(std::size_t p, const CPixelRect& rect) const
{
    const CPlotMapping mapping = Mapping(rect);
    const CDetectedPeak& peak = m_peaks.at(p);
    const auto at = [&](std::size_t scan) {
        return CPixelPoint{mapping.XPixel(m_times[scan]), mapping.YPixel(m_tic[scan])};
    };
    return {at(peak.ApexScan), at(peak.StartScan), at(peak.EndScan)};
}

int CRunPlotModel::HitPeak(int x, int y, const CPixelRect& rect) const
{
    if (!rect.Contains(x, y))
        return -1;
    int best = -1;
    int bestDistance = 0;
    for (std::size_t p = 0; p < m_peaks.size(); ++p) {
        const CPeakMarkPixels marks = Marks(p, rect);
        if (x < marks.Start.X - 3 || x > marks.End.X + 3)
            continue;
        const int distance = std::abs(x - marks.Apex.X);
        if (best < 0 || distance < bestDistance) {
            best = static_cast<int>(p);
            bestDistance = distance;
        }
    }
    return best;
}

double CRunPlotModel::TopPercent() const
{
    const double full = FullRange().YMax;
    return full > 0 ? m_view.YMax / full * 100 : 100;
}

double CRunPlotModel::BottomPercent() const
{
    const double full = FullRange().YMax;
    return full > 0 ? m_view.YMin / full * 100 : 0;
}

} // namespace corvelin
