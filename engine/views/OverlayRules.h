#pragma once
// Small rules of the match and overlay pages: when two paths look alike, and the overlay palette.
#include <cstdint>
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

// Whether the shorter path is, ignoring case, the beginning of the longer one ("…/run1" and "…/RUN10" are;
// "…/run1" and "…/run2" are not). The match page asks before showing such a pair.
CORVELIN_ENGINE_EXPORT bool ArePathsSimilar(const std::string& a, const std::string& b) noexcept;

// The colour (0xRRGGBB) of the overlay entry at list position k: eight colours, repeated.
CORVELIN_ENGINE_EXPORT std::uint32_t OverlayColour(int k) noexcept;
// The chosen overlay entry: pure red, two pixels wide.
constexpr std::uint32_t kChosenOverlayColour = 0xff0000;
constexpr int kChosenOverlayPenWidth = 2;

} // namespace corvelin
