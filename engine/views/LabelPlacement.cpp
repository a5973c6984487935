#include "engine/views/LabelPlacement.h"

#include <algorithm>
#include <cmath>

namespace corvelin {

bool CLabelBox::Overlaps(const CLabelBox& other) const noexcept
{
    return Left < other.Right() && other.Left < Right() && Top < other.Bottom() && other.Top < Bottom();
}

CLabelBox CLabelBox::CentredAbove(double x, double bottom, double width, double height) noexcept
{
    return {x - width / 2, bottom - height, width, height};
}

CLabelPlacer::CLabelPlacer(const CLabelBox& bounds, double gap) : m_bounds(bounds), m_gap(std::max(gap, 0.0)) {}

void CLabelPlacer::Block(const CLabelBox& box)
{
    m_taken.push_back(box);
}

std::optional<CLabelBox> CLabelPlacer::Place(CLabelBox box)
{
    const bool finite =
        std::isfinite(box.Left) && std::isfinite(box.Top) && std::isfinite(box.Width) && std::isfinite(box.Height);
    if (!finite || box.Width > m_bounds.Width || box.Height > m_bounds.Height)
        return std::nullopt;
    box.Left = std::clamp(box.Left, m_bounds.Left, m_bounds.Right() - box.Width);
    box.Top = std::clamp(box.Top, m_bounds.Top, m_bounds.Bottom() - box.Height);
    const CLabelBox padded{box.Left - m_gap, box.Top, box.Width + 2 * m_gap, box.Height};
    for (const CLabelBox& taken : m_taken)
        if (padded.Overlaps(taken))
            return std::nullopt;
    m_taken.push_back(box);
    return box;
}

bool CLabelPlacer::Place(const std::string& text, const CLabelBox& box, std::vector<CPlacedText>& placed)
{
    const std::optional<CLabelBox> kept = Place(box);
    if (kept)
        placed.push_back({text, *kept});
    return kept.has_value();
}

} // namespace corvelin
