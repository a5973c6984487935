#include "engine/views/OverlayRules.h"

#include <algorithm>
#include <strings.h>

namespace corvelin {

bool ArePathsSimilar(const std::string& a, const std::string& b) noexcept
{
    const std::size_t n = std::min(a.size(), b.size());
    return strncasecmp(a.c_str(), b.c_str(), n) == 0;
}

std::uint32_t OverlayColour(int k) noexcept
{
    static constexpr std::uint32_t kPalette[8] = {0x000000, 0x800000, 0x008000, 0x000080,
                                                  0x808000, 0x800080, 0x008080, 0x808080};
    return kPalette[((k % 8) + 8) % 8];
}

} // namespace corvelin
