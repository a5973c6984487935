#pragma once
// What the matrix display draws, computed without a window: the retention-time map of a compared pair of
// chromatograms (horizontal axis RT of "this", vertical axis RT of "other", growing downwards), its axis
// ticks, the circles of assigned pairs and unassigned peaks with their diameters and colours, the hover tools
// and their HTML texts, and the zoom. Coordinates are those of the device drawn on (screen pixels, or 0.1 mm
// when printing); the display reads "MinSize"/"SizeRange" and the colour scheme and passes them in.
#include <functional>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/views/LabelPlacement.h"

namespace corvelin {

class CCellTable;
class CLibraryChromatogramData;

// A rectangle in device units (right and bottom exclusive edges as given by the device).
struct CORVELIN_ENGINE_EXPORT CMatrixRect {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
    double Width() const noexcept { return Right - Left; }
    double Height() const noexcept { return Bottom - Top; }
    bool operator==(const CMatrixRect&) const = default;
};

struct CORVELIN_ENGINE_EXPORT CMatrixRanges {
    double XMin = 0, XMax = 1; // RT of "this"
    double YMin = 0, YMax = 1; // RT of "other"
    bool operator==(const CMatrixRanges&) const = default;
};

// The mapping of a value onto an axis of the given extent (width or height) that starts at origin (left or top
// edge): origin + (value - lo) / (hi - lo) x (extent - 15) + 10; and its inverse for a pixel offset from the
// edge: lo + (offset - 10) / (extent - 15) x (hi - lo).
CORVELIN_ENGINE_EXPORT double MatrixMap(double value, double lo, double hi, double origin, double extent) noexcept;
CORVELIN_ENGINE_EXPORT double MatrixUnmap(double offset, double lo, double hi, double extent) noexcept;

// The tick step for a span: 10 to the power floor(log10(span)), halved while span / step (truncated) is below 3
// and the step is above 0.01. 1 for a span that is not positive.
CORVELIN_ENGINE_EXPORT double MatrixTickStep(double span) noexcept;
// The tick values step, 2 x step, ... below the larger of both maxima, for the larger of both spans; those more
// than a step below both minima (never visible) are left out.
CORVELIN_ENGINE_EXPORT std::vector<double> MatrixTicks(const CMatrixRanges& ranges);

// Diameter of a peak's circle: area / totalArea x sizeRange + minSize, truncated (the area share counts 0 when
// the total is not positive).
CORVELIN_ENGINE_EXPORT int MatrixCircleDiameter(double area, double totalArea, double minSize,
                                                double sizeRange) noexcept;

struct CORVELIN_ENGINE_EXPORT CMatrixCircle {
    enum Kind { UnassignedOther, UnassignedThis, Assigned };
    Kind Type = Assigned;
    int ThisPeak = -1;   // row of the cell table
    int OtherPeak = -1;  // column of the cell table
    double Value = 0;    // the cell (assigned pairs)
    double X = 0, Y = 0; // centre
    int Diameter = 0;
    bool Filled = false; // an assigned pair from 0.001 on: filled in its colour
    int ColorIndex = -1; // filled circles: index into the scheme (-1 when the scheme has no colours)
    bool HasTool = false;
    CMatrixRect Bounds() const noexcept
    {
        return {X - Diameter / 2.0, Y - Diameter / 2.0, X + Diameter / 2.0, Y + Diameter / 2.0};
    }
};

struct CORVELIN_ENGINE_EXPORT CMatrixLayout {
    double OriginX = 0, OriginY = 0;
    struct CORVELIN_ENGINE_EXPORT Tick {
        double Value;
        double X; // mapped on the horizontal axis
        double Y; // mapped on the vertical axis
        std::string Label;
        bool OnX = false; // whether the tick lies on the drawn horizontal axis
        bool OnY = false; // ... on the drawn vertical axis
    };
    std::vector<Tick> Ticks;
    // In drawing order: unassigned "other" peaks, unassigned "this" peaks, assigned pairs. Assigned cells from
    // 0.0005 to below 0.001 are listed (they have a tool) but not filled.
    std::vector<CMatrixCircle> Circles;
};

inline constexpr const char* kMatrixThisAxisTitle = "\"this\" RT";
inline constexpr const char* kMatrixOtherAxisTitle = "\"other\" RT";

// The texts around the axes of a layout drawn into area: the axis titles (kMatrixThisAxisTitle right-aligned in
// the line under the horizontal axis's numbers, kMatrixOtherAxisTitle at the lower end of the vertical axis,
// beside its numbers), then the numbers of the ticks on each axis (horizontal: centred under the tick; vertical: right
// of the axis, centred on the tick). Every text is moved inside the area; a number that would overlap a text already
// placed is left out, so an end label is never cut and no two texts cover each other.
CORVELIN_ENGINE_EXPORT std::vector<CPlacedText> MatrixAxisTexts(const CMatrixLayout& layout, const CMatrixRect& area,
                                                                double lineHeight, const TextWidthFn& textWidth);

class CORVELIN_ENGINE_EXPORT CMatrixDisplayModel {
public:
    // Keeps references (not owned; the owner keeps them alive while set). Both ranges become 0 ... M + 1 with M
    // the larger RT of the last peak of either chromatogram.
    void SetData(const CCellTable* cells, int rows, int columns, const CLibraryChromatogramData* self,
                 const CLibraryChromatogramData* other);
    void Clear();
    bool HasData() const noexcept { return m_cells && m_this && m_other; }
    // Data where one side has no peaks: the display says so instead of drawing.
    bool HasPeaks() const noexcept { return HasData() && m_rows > 0 && m_columns > 0; }

    const CMatrixRanges& Ranges() const noexcept { return m_ranges; }
    void SetRanges(const CMatrixRanges& ranges) noexcept { m_ranges = ranges; }
    // A dragged rectangle (device units, any corner order) within area: more than 20 units wide or high zooms to
    // its mapped edges when both new ranges are wider than 0.01. Returns whether the ranges changed.
    bool Zoom(CMatrixRect dragged, const CMatrixRect& area);
    // "Undo Zoom" is offered as the default entry while a minimum is not 0.
    bool CanUndoZoom() const noexcept { return m_ranges.XMin != 0 || m_ranges.YMin != 0; }
    void UndoZoom() noexcept { m_ranges = m_full; }

    // Axes, ticks and circles for drawing into area with the given circle sizes (screen pixels, or scaled by
    // 254 / 75 when printing) and the number of colours of the scheme.
    CMatrixLayout Layout(const CMatrixRect& area, double minSize, double sizeRange, int colorCount) const;

    // The hover texts. picture(side, peak) gives the handle of a peak's spectrum picture (side 1 "this",
    // 2 "other").
    using PictureHandle = std::function<unsigned long(int side, int peak)>;
    std::string PairText(int thisPeak, int otherPeak, const PictureHandle& picture) const;
    std::string UnassignedThisText(int thisPeak, const PictureHandle& picture) const;
    std::string UnassignedOtherText(int otherPeak, const PictureHandle& picture) const;
    std::string ToolText(const CMatrixCircle& circle, const PictureHandle& picture) const;

private:
    const CCellTable* m_cells = nullptr;
    const CLibraryChromatogramData* m_this = nullptr;
    const CLibraryChromatogramData* m_other = nullptr;
    int m_rows = 0;
    int m_columns = 0;
    CMatrixRanges m_ranges;
    CMatrixRanges m_full;
};

} // namespace corvelin
