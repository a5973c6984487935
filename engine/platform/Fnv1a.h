#pragma once
// FNV-1a, 64 bits (offset basis 14695981039346656037, prime 1099511628211): a stable hash of a byte string,
// the same on every machine, compiler and run (unlike std::hash), for assigning library entries to shards.
#include <cstdint>
#include <string_view>

namespace corvelin {

constexpr std::uint64_t Fnv1a64(std::string_view bytes) noexcept
{
    std::uint64_t hash = 14695981039346656037ull;
    for (char c : bytes) {
        hash ^= static_cast<std::uint8_t>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

} // namespace corvelin
