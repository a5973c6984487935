#pragma once
// Where the texts of a picture go so that none covers another, a blocked part of the picture (a caption, a trace)
// or crosses the picture's edge. Labels are offered in priority order: each is first moved inside the bounds (a
// label larger than the bounds is left out), then kept only when it overlaps no kept label and no blocked box.
// A label that would collide is left out rather than drawn over something else.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

// A box in device units (pixels, or 0.1 mm when printing); Right and Bottom are Left + Width and Top + Height.
struct CORVELIN_ENGINE_EXPORT CLabelBox {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
    double Right() const noexcept { return Left + Width; }
    double Bottom() const noexcept { return Top + Height; }
    // Boxes that merely touch do not overlap.
    bool Overlaps(const CLabelBox& other) const noexcept;
    // The box of a text of the given size centred horizontally on x with its bottom at bottom.
    static CLabelBox CentredAbove(double x, double bottom, double width, double height) noexcept;
    bool operator==(const CLabelBox&) const = default;
};

// One text placed on a picture.
struct CORVELIN_ENGINE_EXPORT CPlacedText {
    std::string Text;
    CLabelBox Box;
};

// The width of a text in device units (the view measures with its font).
using TextWidthFn = std::function<double(const std::string&)>;

class CORVELIN_ENGINE_EXPORT CLabelPlacer {
public:
    // gap: the free space kept between two labels (and between a label and a blocked box).
    explicit CLabelPlacer(const CLabelBox& bounds, double gap = 0);
    // A part of the picture no label may cover.
    void Block(const CLabelBox& box);
    // The label's box moved inside the bounds, or nothing when it does not fit or would overlap.
    std::optional<CLabelBox> Place(CLabelBox box);
    // Place for a text; appends it to placed when it was kept. Returns whether it was.
    bool Place(const std::string& text, const CLabelBox& box, std::vector<CPlacedText>& placed);

private:
    CLabelBox m_bounds;
    double m_gap;
    std::vector<CLabelBox> m_taken;
};

} // namespace corvelin
