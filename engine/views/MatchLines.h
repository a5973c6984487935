#pragma once
// The lines of the match plot, without pixels: which peak pairs get a line and in which colour, the line
// nearest to a point, and what a drag in the plot means.
#include <cstdint>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

struct CColorScheme;

class CCellTable;
class CLibraryChromatogram;
class CLibraryChromatogramPeakData;

// One line from a "this" peak to the "other" peak it was matched with.
struct CORVELIN_ENGINE_EXPORT CMatchLinie {
    std::uint32_t Colour = 0; // 0xRRGGBB
    double Value = 0;
    double ThisRT = 0, ThisRI = 0, ThisHeight = 0;
    double OtherRT = 0, OtherRI = 0, OtherHeight = 0;
    int ThisIndex = 0;
    int OtherIndex = 0;
    const CLibraryChromatogramPeakData* ThisPeak = nullptr;
    const CLibraryChromatogramPeakData* OtherPeak = nullptr;
};

// The side of the square cell table the match plot compares in: the larger of the two peak counts.
CORVELIN_ENGINE_EXPORT std::size_t MatchTableSide(const CLibraryChromatogram& self,
                                                  const CLibraryChromatogram& other) noexcept;

// A line for every cell [i][j] > 0.001 with i below the table side and the "this" peak count and j below the
// "other" peak count; colour index trunc(value x (colours - 1)), clamped to the scheme (no colours: black).
CORVELIN_ENGINE_EXPORT std::vector<CMatchLinie> BuildMatchLines(const CCellTable& cells,
                                                                const CLibraryChromatogram& self,
                                                                const CLibraryChromatogram& other,
                                                                const std::vector<std::uint32_t>& colours);

struct CORVELIN_ENGINE_EXPORT CLineEnds {
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};
// Index of the line nearest to (x, y) by squared perpendicular distance to the infinite line through its ends:
// exactly 0 returns at once, else the smallest below 30 squared pixels; -1 for none. Lines whose ends
// coincide have no direction and are skipped.
CORVELIN_ENGINE_EXPORT int NearestMatchLine(const std::vector<CLineEnds>& lines, double x, double y) noexcept;

enum class EMatchDrag { Zoom, Ignore, Click };
// A drag of the match plot (width and height of the normalised rectangle): both over 19 zoom; width + height
// over 19 is ignored; anything smaller is a click.
CORVELIN_ENGINE_EXPORT EMatchDrag ClassifyMatchDrag(int width, int height) noexcept;

// The line colours (0xRRGGBB, lowest match first) of a colour scheme.
CORVELIN_ENGINE_EXPORT std::vector<std::uint32_t> MatchLineColours(const CColorScheme& scheme);

} // namespace corvelin
