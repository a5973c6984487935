#pragma once
// What the run plot of "Add Chromatogram" shows and how its view changes, without pixels on a screen: a raw
// run's total-ion chromatogram, the extracted-ion chromatograms of chosen masses, the detected peaks as marks
// (apex, start, end), the visible range, rubber-band zoom, the decimated polylines and the peak hit test.
#include <cstddef>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/peaks/PeakDetector.h"
#include "engine/views/ChromatogramPlotModel.h"
#include "engine/views/PlotMapping.h"
#include "engine/views/TraceDecimation.h"

namespace corvelin {

// One extracted-ion chromatogram: its nominal mass and one value per scan.
struct CORVELIN_ENGINE_EXPORT CIonTrace {
    int Mass = 0;
    std::vector<double> Values;
};

// A peak's marks in pixels: the apex on the TIC, start and end where the TIC is at those scans.
struct CORVELIN_ENGINE_EXPORT CPeakMarkPixels {
    CPixelPoint Apex;
    CPixelPoint Start;
    CPixelPoint End;
};

class CORVELIN_ENGINE_EXPORT CRunPlotModel {
public:
    // A new run (times in minutes, one TIC value per scan; the shorter length counts); drops traces and peaks
    // and shows the full range.
    void SetRun(std::vector<double> times, std::vector<double> tic);
    // The detected peaks (scans index the run; peaks with a scan outside it are dropped). The view stays.
    void SetPeaks(const CPeakList& peaks);
    // The extracted-ion chromatograms (values beyond the run's scans are ignored). The view stays.
    void SetIonTraces(std::vector<CIonTrace> traces);
    void Clear() { SetRun({}, {}); }

    bool IsEmpty() const noexcept { return m_times.empty(); }
    std::size_t ScanCount() const noexcept { return m_times.size(); }
    const std::vector<double>& Times() const noexcept { return m_times; }
    const std::vector<double>& Tic() const noexcept { return m_tic; }
    const std::vector<CIonTrace>& IonTraces() const noexcept { return m_traces; }
    const std::vector<CDetectedPeak>& Peaks() const noexcept { return m_peaks; }

    // First to last scan time; 0 up to the largest value of the TIC and the traces (1 when all are 0).
    CPlotRange FullRange() const;
    const CPlotRange& View() const noexcept { return m_view; }
    // Sets the visible range; an empty or reversed range on an axis takes the full range of that axis.
    void SetView(const CPlotRange& view);
    void ShowFullScale() { m_view = FullRange(); }
    // Zooms to a dragged rectangle (any corners) when it is a zoom drag (more than 20 pixels either way);
    // the y range never goes below 0. Returns whether it zoomed.
    bool Zoom(const CPixelRect& drag, const CPixelRect& rect);

    CPlotMapping Mapping(const CPixelRect& rect) const;
    // The decimated polyline of the TIC (trace -1) or of ion trace i.
    std::vector<CPixelPoint> Polyline(int trace, const CPixelRect& rect) const;
    // Where peak p's marks are drawn.
    CPeakMarkPixels Marks(std::size_t p, const CPixelRect& rect) const;
    // The peak clicked at (x, y): the one whose apex column is nearest to x, within its start ... end columns
    // widened by 3 pixels; -1 for none.
    int HitPeak(int x, int y, const CPixelRect& rect) const;
    // The TIC at the view's top in percent of the full range's top (the height axis labels).
    double TopPercent() const;
    double BottomPercent() const;

private:
    std::vector<double> m_times;
    std::vector<double> m_tic;
    std::vector<CIonTrace> m_traces;
    std::vector<CDetectedPeak> m_peaks;
    CPlotRange m_view;
};

} // namespace corvelin
