#pragma once
// What the chromatogram plot shows and how its views change, without pixels on a screen: owned copies of the
// chromatograms (peaks sorted by RT) with one CPlotProperties each, the full-range rules, set view, full
// scale/height/RT range, move left/right, rubber-band zoom and the peak hit test.
#include <memory>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/views/PlotMapping.h"
#include "engine/views/PlotProperties.h"

namespace corvelin {

struct CORVELIN_ENGINE_EXPORT CPlotRange {
    double XMin = 0;
    double XMax = 0;
    double YMin = 0;
    double YMax = 0;
};

struct CORVELIN_ENGINE_EXPORT CPlotHit {
    int Chromatogram = -1; // index in the plot, -1 = no hit
    int Peak = -1;         // index of the peak in that chromatogram (sorted by RT)
};

class CORVELIN_ENGINE_EXPORT CChromatogramPlotModel {
public:
    // Copies chromatogram (peaks sorted by RT) with a copy of properties (or zeroed ones); returns the count.
    int Add(const CLibraryChromatogram& chromatogram, const CPlotProperties* properties = nullptr);
    // Removes the first chromatogram whose SourcePath equals name ignoring case; false when none does.
    bool Remove(const std::string& name);
    void RemoveAll();
    int Count() const noexcept { return static_cast<int>(m_items.size()); }
    const CLibraryChromatogram& Chromatogram(int i) const { return *m_items.at(i).Chromatogram; }
    CLibraryChromatogram& Chromatogram(int i) { return *m_items.at(i).Chromatogram; }
    const CPlotProperties& Properties(int i) const { return m_items.at(i).Properties; }
    CPlotProperties& Properties(int i) { return m_items.at(i).Properties; }
    // Index of the first chromatogram whose SourcePath equals name ignoring case, or -1.
    int Find(const std::string& name) const;

    // The range drawn for chromatogram i: its properties, with an empty x range standing for 0 ... end of the
    // last peak and an empty y range for 0 ... largest peak height.
    CPlotRange EffectiveRange(int i) const;
    // 0 ... latest end of a last peak, 0 ... largest peak height of all chromatograms.
    CPlotRange OverallBounds() const;
    double LargestHeight(int i) const;
    CPlotMapping Mapping(int i, const CPixelRect& rect) const;

    // x range as given for all; each y range = its own largest height x percent / 100.
    void SetView(double xMin, double yMinPercent, double xMax, double yMaxPercent);
    void ShowFullScale();
    void ShowFullHeight();
    void ShowFullRTRange();
    // Shift the union x range by 30 % of its width (left: never below 0); every chromatogram takes one common
    // percent range: the lowest and highest of their y ranges in percent of their own largest heights.
    void MoveLeft() { Move(false); }
    void MoveRight() { Move(true); }
    // The union of the effective x ranges and the common percent range (what move left/right keeps).
    CPlotRange UnionPercentView() const;

    // Whether a dragged rectangle (any corners) is large enough to zoom: more than 20 pixels in either direction.
    static bool IsZoomDrag(const CPixelRect& drag) noexcept;
    // The view of a dragged rectangle inside the plot rectangle rect, by the first chromatogram's mapping:
    // x range in minutes, y range in percent of its largest height clamped to 0 ... 100.
    CPlotRange DragView(const CPixelRect& drag, const CPixelRect& rect) const;
    // Applies DragView when IsZoomDrag holds and there is a chromatogram; returns whether it zoomed.
    bool Zoom(const CPixelRect& drag, const CPixelRect& rect);

    // The first peak, in list order, whose pixel triangle holds the point.
    CPlotHit HitTest(int x, int y, const CPixelRect& rect) const;

    // The height-axis range for the first chromatogram's view, in percent of its own largest height: every trace
    // is scaled to its own largest peak, and the views keep one percent range for all, so the axis is true for
    // every trace (100 % is the top of each trace's largest peak).
    bool HeightAxisPercent(double& yMinPercent, double& yMaxPercent) const;

private:
    struct CORVELIN_ENGINE_EXPORT Item {
        std::unique_ptr<CLibraryChromatogram> Chromatogram;
        CPlotProperties Properties;
    };
    void Move(bool right);

    std::vector<Item> m_items;
};

// Whether the point lies in the triangle (a, b, c) of integer pixels: the three sub-triangle areas add up to
// the triangle's area within 0.001; a triangle of zero area holds only its first corner.
CORVELIN_ENGINE_EXPORT bool PixelTriangleHolds(int ax, int ay, int bx, int by, int cx, int cy, int px, int py) noexcept;

} // namespace corvelin
