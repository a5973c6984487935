#include "engine/views/MatchLines.h"

#include <algorithm>

#include "engine/compare/CellTable.h"
#include "engine/core/LibraryChromatogram.h"

namespace corvelin {

std::size_t MatchTableSide(const CLibraryChromatogram& self, const CLibraryChromatogram& other) noexcept
{
    return std::max(self.Peaks.size(), other.Peaks.size());
}

std::vector<CMatchLinie> BuildMatchLines(const CCellTable& cells, const CLibraryChromatogram& self,
                                         const CLibraryChromatogram& other, const std::vector<std::uint32_t>& colours)
{
    std::vector<CMatchLinie> lines;
    const std::size_t rows = std::min({cells.Rows(), self.Peaks.size()});
    const std::size_t columns = std::min(cells.Columns(), other.Peaks.size());
    const double top = colours.empty() ? 0 : static_cast<double>(colours.size() - 1);
    for (std::size_t i = 0; i < rows; ++i) {
        for (std::size_t j = 0; j < columns; ++j) {
            const double value = cells(i, j);
            if (!(value > 0.001))
                continue;
            const CLibraryChromatogramPeakData& a = *self.Peaks[i];
            const CLibraryChromatogramPeakData& b = *other.Peaks[j];
            CMatchLinie line;
            if (!colours.empty()) {
                const auto index = static_cast<std::size_t>(std::clamp(value * top, 0.0, top));
                line.Colour = colours[index];
            }
            line.Value = value;
            line.ThisRT = a.RT;
            line.ThisRI = a.RI;
            line.ThisHeight = a.Height;
            line.OtherRT = b.RT;
            line.OtherRI = b.RI;
            line.OtherHeight = b.Height;
            line.ThisIndex = static_cast<int>(i);
            line.OtherIndex = static_cast<int>(j);
            line.ThisPeak = &a;
            line.OtherPeak = &b;
            lines.push_back(line);
        }
    }
    return lines;
}

int NearestMatchLine(const std::vector<CLineEnds>& lines, double x, double y) noexcept
{
    double best = 999;
    int found = -1;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const CLineEnds& line = lines[k];
        const double dx = line.X2 - line.X1;
        const double dy = line.Y2 - line.Y1;
        const double length2 = dx * dx + dy * dy;
        if (length2 == 0)
            continue;
        const double cross = dx * (y - line.Y1) - dy * (x - line.X1);
        const double distance2 = cross * cross / length2;
        if (distance2 == 0)
            return static_cast<int>(k);
        if (distance2 < best) {
            best = distance2;
            found = static_cast<int>(k);
        }
    }
    return best < 30 ? found : -1;
}

EMatchDrag ClassifyMatchDrag(int width, int height) noexcept
{
    if (width > 19 && height > 19)
        return EMatchDrag::Zoom;
    if (width + height > 19)
        return EMatchDrag::Ignore;
    return EMatchDrag::Click;
}

} // namespace corvelin
