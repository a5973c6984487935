#pragma once
#include "engine/core/EngineExport.h"
// Value <-> pixel mapping of a chromatogram plot: a 10-pixel margin on every side, pixel results truncated
// after adding 0.5. An empty range maps every value onto the margin instead of dividing by zero.
namespace corvelin {

struct CORVELIN_ENGINE_EXPORT CPixelRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const noexcept { return Right - Left; }
    int Height() const noexcept { return Bottom - Top; }
    bool Contains(int x, int y) const noexcept { return x >= Left && x < Right && y >= Top && y < Bottom; }
    // The rectangle with its corners sorted.
    CPixelRect Normalized() const noexcept;
};

struct CORVELIN_ENGINE_EXPORT CPlotMapping {
    CPixelRect Rect;
    double XMin = 0;
    double XMax = 0;
    double YMin = 0;
    double YMax = 0;

    int XPixel(double value) const noexcept;
    int YPixel(double value) const noexcept;
    double XValue(int pixel) const noexcept;
    double YValue(int pixel) const noexcept;
};

} // namespace corvelin
