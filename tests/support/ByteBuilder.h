#pragma once
// Builds expected archive bytes by hand from the documented layouts (little-endian primitives, length-prefixed
// texts, record headers), so format tests never compare the writer with itself.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace corvelin {

class ByteBuilder {
public:
    ByteBuilder& U8(std::uint8_t v)
    {
        bytes.push_back(v);
        return *this;
    }
    ByteBuilder& U16(std::uint16_t v) { return Little(v, 2); }
    ByteBuilder& U32(std::uint32_t v) { return Little(v, 4); }
    ByteBuilder& I32(std::int32_t v) { return Little(static_cast<std::uint32_t>(v), 4); }
    ByteBuilder& U64(std::uint64_t v) { return Little(v, 8); }
    ByteBuilder& F64(double v)
    {
        std::uint64_t u;
        std::memcpy(&u, &v, 8);
        return Little(u, 8);
    }
    // Raw characters, no prefix.
    ByteBuilder& Chars(std::string_view s)
    {
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    // A text with the short prefix forms a writer produces (1 byte below 255, else 0xFF + uint16).
    ByteBuilder& Text(std::string_view s)
    {
        if (s.size() < 255)
            U8(static_cast<std::uint8_t>(s.size()));
        else
            U8(0xFF).U16(static_cast<std::uint16_t>(s.size()));
        return Chars(s);
    }
    // A wide text: 0xFF, 0xFFFE, a one-byte length (< 255 units) and UTF-16LE code units.
    ByteBuilder& WideText(const std::u16string& s)
    {
        U8(0xFF).U16(0xFFFE).U8(static_cast<std::uint8_t>(s.size()));
        for (char16_t c : s)
            U16(static_cast<std::uint16_t>(c));
        return *this;
    }
    // A record's class identifier and version (bit 31 set).
    ByteBuilder& Header(std::string_view identifier, std::uint32_t version = 5)
    {
        return Text(identifier).U32(0x80000000u | version);
    }
    ByteBuilder& Append(const std::vector<std::uint8_t>& more)
    {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }
    std::size_t Size() const noexcept { return bytes.size(); }

    std::vector<std::uint8_t> bytes;

private:
    ByteBuilder& Little(std::uint64_t v, int n)
    {
        for (int i = 0; i < n; ++i)
            bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return *this;
    }
};

} // namespace corvelin
