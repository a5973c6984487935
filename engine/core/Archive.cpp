#include "engine/core/Archive.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "engine/core/ClassRegistry.h"

namespace corvelin {

static_assert(std::endian::native == std::endian::little, "the archive stream assumes a little-endian host");
static_assert(sizeof(double) == 8, "the archive stream stores IEEE 754 binary64");

namespace {

constexpr std::uint16_t kNullTag = 0;
constexpr std::uint16_t kBigObjectTag = 0x7FFF;
constexpr std::uint16_t kClassTag = 0x8000;
constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint32_t kBigClassTag = 0x80000000u;
constexpr std::uint32_t kMaxIndex = 0x7FFFFFFEu;
// A class name in the stream longer than this is refused.
constexpr std::size_t kMaxClassNameLength = 63;

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// UTF-16 code units (little-endian pairs of bytes) to UTF-8; an unpaired surrogate becomes '?'.
std::string Utf16ToUtf8(const std::uint8_t* p, std::size_t units)
{
    std::string out;
    out.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
        const std::uint32_t u = p[2 * i] | (p[2 * i + 1] << 8);
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            const std::uint32_t lo = p[2 * i + 2] | (p[2 * i + 3] << 8);
            if (lo >= 0xDC00 && lo <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00));
                ++i;
                continue;
            }
        }
        if (u >= 0xD800 && u <= 0xDFFF)
            out.push_back('?');
        else
            AppendUtf8(out, u);
    }
    return out;
}

} // namespace

CArchive::CArchive() : m_storing(true) {}

CArchive::CArchive(std::span<const std::uint8_t> bytes, std::string path, bool fromFile)
    : m_storing(false), m_fromFile(fromFile), m_path(std::move(path)), m_in(bytes)
{
}

void CArchive::Fail(CArchiveException::Cause cause, const std::string& detail) const
{
    throw CArchiveException(cause, m_path, detail);
}

// ---- storing --------------------------------------------------------------------------------------------------

void CArchive::WriteBytes(std::span<const std::uint8_t> bytes)
{
    if (!m_storing)
        Fail(CArchiveException::ReadOnly);
    m_out.insert(m_out.end(), bytes.begin(), bytes.end());
}

void CArchive::WriteByte(std::uint8_t value)
{
    WriteBytes({&value, 1});
}

void CArchive::WriteUInt16(std::uint16_t value)
{
    const std::uint8_t b[2] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
    WriteBytes(b);
}

void CArchive::WriteUInt32(std::uint32_t value)
{
    std::uint8_t b[4];
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<std::uint8_t>(value >> (8 * i));
    WriteBytes(b);
}

void CArchive::WriteInt32(std::int32_t value)
{
    WriteUInt32(static_cast<std::uint32_t>(value));
}

void CArchive::WriteUInt64(std::uint64_t value)
{
    std::uint8_t b[8];
    for (int i = 0; i < 8; ++i)
        b[i] = static_cast<std::uint8_t>(value >> (8 * i));
    WriteBytes(b);
}

void CArchive::WriteDouble(double value)
{
    WriteUInt64(std::bit_cast<std::uint64_t>(value));
}

void CArchive::WriteString(std::string_view text)
{
    const std::uint64_t n = text.size();
    if (n < 0xFF) {
        WriteByte(static_cast<std::uint8_t>(n));
    } else {
        WriteByte(0xFF);
        if (n < 0xFFFE) {
            WriteUInt16(static_cast<std::uint16_t>(n));
        } else {
            WriteUInt16(0xFFFF);
            if (n < 0xFFFFFFFFu) {
                WriteUInt32(static_cast<std::uint32_t>(n));
            } else {
                WriteUInt32(0xFFFFFFFFu);
                WriteUInt64(n);
            }
        }
    }
    WriteBytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

void CArchive::WriteCount(std::uint32_t count)
{
    if (count < 0xFFFF) {
        WriteUInt16(static_cast<std::uint16_t>(count));
    } else {
        WriteUInt16(0xFFFF);
        WriteUInt32(count);
    }
}

void CArchive::WriteClassHeader(std::string_view identifier)
{
    WriteString(identifier);
    WriteUInt32(kCurrentVersion);
}

void CArchive::WriteTagIndex(std::uint32_t index)
{
    if (index < kBigObjectTag) {
        WriteUInt16(static_cast<std::uint16_t>(kClassTag | index));
    } else {
        WriteUInt16(kBigObjectTag);
        WriteUInt32(kBigClassTag | index);
    }
}

void CArchive::WriteObject(const CSerializable* object)
{
    if (!m_storing)
        Fail(CArchiveException::ReadOnly);
    if (!object) {
        WriteUInt16(kNullTag);
        return;
    }
    const std::string_view name = object->GetClassName();
    const auto known = std::find_if(m_classes.begin(), m_classes.end(), [&](const auto& c) { return c.first == name; });
    if (known != m_classes.end()) {
        WriteTagIndex(known->second);
    } else {
        if (name.size() > 0xFFFF)
            Fail(CArchiveException::BadClass, "class name too long");
        WriteUInt16(kNewClassTag);
        WriteUInt16(static_cast<std::uint16_t>(kCurrentVersion & 0xFFFF));
        WriteUInt16(static_cast<std::uint16_t>(name.size()));
        WriteBytes({reinterpret_cast<const std::uint8_t*>(name.data()), name.size()});
        m_classes.emplace_back(std::string(name), m_nextIndex++);
    }
    ++m_nextIndex; // the object's own index
    // Serialize is non-const because the same operation reads; in a storing archive it only reads the object.
    const_cast<CSerializable*>(object)->Serialize(*this);
}

// ---- loading --------------------------------------------------------------------------------------------------

const std::uint8_t* CArchive::Take(std::size_t n)
{
    if (m_storing)
        Fail(CArchiveException::WriteOnly);
    if (n > Remaining())
        Fail(CArchiveException::EndOfFile);
    const std::uint8_t* p = m_in.data() + m_pos;
    m_pos += n;
    return p;
}

std::uint8_t CArchive::ReadByte()
{
    return *Take(1);
}

std::uint16_t CArchive::ReadUInt16()
{
    const std::uint8_t* p = Take(2);
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t CArchive::ReadUInt32()
{
    const std::uint8_t* p = Take(4);
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

std::int32_t CArchive::ReadInt32()
{
    return static_cast<std::int32_t>(ReadUInt32());
}

std::uint64_t CArchive::ReadUInt64()
{
    const std::uint8_t* p = Take(8);
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

double CArchive::ReadDouble()
{
    return std::bit_cast<double>(ReadUInt64());
}

std::uint64_t CArchive::ReadLength(bool allowWideMarker, bool& wide)
{
    const std::uint8_t b = ReadByte();
    if (b < 0xFF)
        return b;
    const std::uint16_t w = ReadUInt16();
    if (w == 0xFFFE && allowWideMarker) {
        wide = true;
        return ReadLength(false, wide);
    }
    if (w < 0xFFFF)
        return w;
    const std::uint32_t d = ReadUInt32();
    if (d < 0xFFFFFFFFu)
        return d;
    return ReadUInt64();
}

std::string CArchive::ReadString()
{
    bool wide = false;
    const std::span<const std::uint8_t> chars = ReadTextBytes(wide);
    if (wide)
        return Utf16ToUtf8(chars.data(), chars.size() / 2);
    return std::string(reinterpret_cast<const char*>(chars.data()), chars.size());
}

std::span<const std::uint8_t> CArchive::ReadTextBytes(bool& wide)
{
    wide = false;
    const std::uint64_t length = ReadLength(true, wide);
    const std::uint64_t unitSize = wide ? 2 : 1;
    // Checked against the bytes left before anything is allocated for the text.
    if (length > Remaining() / unitSize)
        Fail(CArchiveException::EndOfFile, "text longer than the rest of the stream");
    const auto n = static_cast<std::size_t>(length * unitSize);
    return {Take(n), n};
}

std::uint32_t CArchive::ReadCount()
{
    const std::uint16_t w = ReadUInt16();
    if (w != 0xFFFF)
        return w;
    return ReadUInt32();
}

std::uint32_t CArchive::ReadClassHeader(std::string_view identifier, std::uint32_t minVersion)
{
    // Compared in place: reading a record allocates nothing for its identifier.
    bool wide = false;
    const std::span<const std::uint8_t> chars = ReadTextBytes(wide);
    const bool same = wide ? Utf16ToUtf8(chars.data(), chars.size() / 2) == identifier
                           : std::string_view(reinterpret_cast<const char*>(chars.data()), chars.size()) == identifier;
    if (!same)
        Fail(CArchiveException::BadClass, "expected \"" + std::string(identifier) + "\"");
    const std::uint32_t version = ReadUInt32() & 0x7FFFFFFFu;
    if (version < minVersion)
        Fail(CArchiveException::BadClass,
             "\"" + std::string(identifier) + "\" version " + std::to_string(version) + " is too old");
    return version;
}

void CArchive::CheckFits(std::uint64_t count, std::size_t minBytesPerItem) const
{
    if (m_storing)
        Fail(CArchiveException::WriteOnly);
    if (minBytesPerItem > 0 && count > Remaining() / minBytesPerItem)
        Fail(CArchiveException::EndOfFile, "item count " + std::to_string(count) + " exceeds the rest of the stream");
}

std::size_t CArchive::ReadItemCount(std::size_t minBytesPerItem)
{
    const std::int32_t count = ReadInt32();
    if (count < 0)
        Fail(CArchiveException::Generic, "negative item count " + std::to_string(count));
    CheckFits(static_cast<std::uint64_t>(count), minBytesPerItem);
    return static_cast<std::size_t>(count);
}

std::unique_ptr<CSerializable> CArchive::ReadObject(std::string_view expectedClass)
{
    const std::uint16_t tag = ReadUInt16();
    if (tag == kNullTag)
        return nullptr;

    std::uint32_t classSlot = 0;
    if (tag == kNewClassTag) {
        ReadUInt16(); // the class version; a different one is accepted
        const std::uint16_t length = ReadUInt16();
        if (length > kMaxClassNameLength)
            Fail(CArchiveException::BadClass, "class name longer than 63 characters");
        const std::uint8_t* p = Take(length);
        std::string name(reinterpret_cast<const char*>(p), length);
        if (!IsRegisteredClass(name))
            Fail(CArchiveException::BadClass, "unknown class \"" + name + "\"");
        if (m_nextIndex > kMaxIndex)
            Fail(CArchiveException::BadIndex, "too many objects");
        classSlot = static_cast<std::uint32_t>(m_classes.size());
        m_classes.emplace_back(std::move(name), m_nextIndex++);
        m_indexKind.resize(m_nextIndex, -1);
        m_indexKind[m_classes.back().second] = static_cast<std::int32_t>(classSlot);
    } else {
        std::uint32_t index = 0;
        bool isClass = false;
        if (tag == kBigObjectTag) {
            const std::uint32_t big = ReadUInt32();
            isClass = (big & kBigClassTag) != 0;
            index = big & ~kBigClassTag;
        } else {
            isClass = (tag & kClassTag) != 0;
            index = tag & ~kClassTag;
        }
        if (!isClass)
            Fail(CArchiveException::BadIndex, "references to earlier objects are not supported");
        if (index == 0 || index >= m_indexKind.size() || m_indexKind[index] < 0)
            Fail(CArchiveException::BadIndex, "tag " + std::to_string(index) + " names no class read so far");
        classSlot = static_cast<std::uint32_t>(m_indexKind[index]);
    }

    const std::string& name = m_classes[classSlot].first;
    if (!expectedClass.empty() && name != expectedClass)
        Fail(CArchiveException::BadClass,
             "expected an object of class \"" + std::string(expectedClass) + "\", found \"" + name + "\"");
    if (m_nextIndex > kMaxIndex)
        Fail(CArchiveException::BadIndex, "too many objects");
    ++m_nextIndex; // the object's own index
    m_indexKind.resize(m_nextIndex, -1);
    std::unique_ptr<CSerializable> object = CreateRegisteredObject(name);
    object->Serialize(*this);
    return object;
}

} // namespace corvelin
