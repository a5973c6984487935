#pragma once
// The binary archive stream of library entries and in-memory deep copies: little-endian primitives,
// length-prefixed 8-bit texts, versions with bit 31 set, object counts and tagged objects with a class registry.
//
// An archive is single-direction and single-use. A storing archive appends to its own byte buffer; a loading
// archive reads from a byte span that the caller keeps alive (a whole file read into memory first), so every
// count and length can be checked against the bytes that are left before anything is allocated for it.
// Every read error throws CArchiveException (EndOfFile when the stream ends early) naming GetPath().
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/core/Exceptions.h"
#include "engine/core/Serializable.h"

namespace corvelin {

class CORVELIN_ENGINE_EXPORT CArchive {
public:
    // The version every record writes: bit 31 set plus version 5.
    static constexpr std::uint32_t kCurrentVersion = 0x80000005u;

    // A storing archive writing into its own buffer.
    CArchive();
    // A loading archive over bytes (not copied; they must outlive the archive). path names the source in errors;
    // fromFile tells whether the bytes are a file's contents (the entry's source-path rule depends on it).
    CArchive(std::span<const std::uint8_t> bytes, std::string path, bool fromFile);
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const noexcept { return m_storing; }
    bool IsLoading() const noexcept { return !m_storing; }
    const std::string& GetPath() const noexcept { return m_path; }
    bool IsFromFile() const noexcept { return m_fromFile; }

    // Storing.
    void WriteByte(std::uint8_t value);
    void WriteUInt16(std::uint16_t value);
    void WriteUInt32(std::uint32_t value);
    void WriteInt32(std::int32_t value);
    void WriteUInt64(std::uint64_t value);
    void WriteDouble(double value);
    void WriteBytes(std::span<const std::uint8_t> bytes);
    // Length prefix (1, 3, 7 or 15 bytes) and the 8-bit characters without terminator.
    void WriteString(std::string_view text);
    // uint16 below 0xFFFF, otherwise uint16 0xFFFF and a uint32.
    void WriteCount(std::uint32_t count);
    // A record's class identifier text and kCurrentVersion.
    void WriteClassHeader(std::string_view identifier);
    // A tagged object: the class header the first time its class appears in this archive, otherwise the
    // class's tag; then the object's record. nullptr writes tag 0 (no object).
    void WriteObject(const CSerializable* object);

    // The bytes written so far (storing archive).
    const std::vector<std::uint8_t>& Bytes() const noexcept { return m_out; }
    std::vector<std::uint8_t> TakeBytes() noexcept { return std::move(m_out); }

    // Loading.
    std::uint8_t ReadByte();
    std::uint16_t ReadUInt16();
    std::uint32_t ReadUInt32();
    std::int32_t ReadInt32();
    std::uint64_t ReadUInt64();
    double ReadDouble();
    // A text in any prefix form, including the wide-text marker (0xFF, uint16 0xFFFE, then a second prefix and
    // UTF-16 code units), which is converted to UTF-8.
    std::string ReadString();
    std::uint32_t ReadCount();
    // Reads a class identifier and a version; throws BadClass when the identifier differs (case-sensitive) or
    // (version AND 0x7FFFFFFF) is below minVersion. Returns the version without bit 31.
    std::uint32_t ReadClassHeader(std::string_view identifier, std::uint32_t minVersion);
    // Reads a tagged object: nullptr for tag 0, otherwise a new object of the registered class named in the
    // stream (BadClass for an unknown or over-long name, or when expectedClass is given and differs).
    // References to objects read earlier are refused with BadIndex; the program's writers never produce them.
    std::unique_ptr<CSerializable> ReadObject(std::string_view expectedClass = {});
    // ReadObject for a known class: nullptr for tag 0, BadClass when the stored object is of another class.
    template <class T> std::unique_ptr<T> ReadObjectAs(std::string_view className)
    {
        std::unique_ptr<CSerializable> object = ReadObject(className);
        if (!object)
            return nullptr;
        T* typed = dynamic_cast<T*>(object.get());
        if (!typed)
            Fail(CArchiveException::BadClass, "object of class \"" + std::string(className) + "\" has another type");
        object.release();
        return std::unique_ptr<T>(typed);
    }
    // Reads an int32 item count and checks it: negative is an error, and count × minBytesPerItem must fit in
    // the bytes left (EndOfFile otherwise), so a hostile count never drives an allocation.
    std::size_t ReadItemCount(std::size_t minBytesPerItem);
    // Throws EndOfFile unless count items of at least minBytesPerItem bytes each can still follow.
    void CheckFits(std::uint64_t count, std::size_t minBytesPerItem) const;
    // The next n bytes as they are, for records read in bulk (EndOfFile when fewer are left). They point into the
    // loaded bytes and stay valid as long as those do.
    std::span<const std::uint8_t> ReadRawBytes(std::size_t n) { return {Take(n), n}; }
    // The next n bytes of a loading archive without taking them; null when fewer are left.
    const std::uint8_t* Peek(std::size_t n) const noexcept
    {
        return !m_storing && n <= Remaining() ? m_in.data() + m_pos : nullptr;
    }
    std::size_t Remaining() const noexcept { return m_in.size() - m_pos; }
    std::size_t Position() const noexcept { return m_storing ? m_out.size() : m_pos; }

    // MFC-style shorthands.
    // clang-format off
    CArchive& operator<<(std::int32_t v) { WriteInt32(v); return *this; }
    CArchive& operator<<(std::uint32_t v) { WriteUInt32(v); return *this; }
    CArchive& operator<<(std::uint16_t v) { WriteUInt16(v); return *this; }
    CArchive& operator<<(double v) { WriteDouble(v); return *this; }
    CArchive& operator<<(const std::string& v) { WriteString(v); return *this; }
    CArchive& operator>>(std::int32_t& v) { v = ReadInt32(); return *this; }
    CArchive& operator>>(std::uint32_t& v) { v = ReadUInt32(); return *this; }
    CArchive& operator>>(std::uint16_t& v) { v = ReadUInt16(); return *this; }
    CArchive& operator>>(double& v) { v = ReadDouble(); return *this; }
    CArchive& operator>>(std::string& v) { v = ReadString(); return *this; }
    // clang-format on

    [[noreturn]] void Fail(CArchiveException::Cause cause, const std::string& detail = {}) const;

private:
    const std::uint8_t* Take(std::size_t n);
    std::uint64_t ReadLength(bool allowWideMarker, bool& wide);
    // The characters of a text (UTF-16LE code units when wide), bounds-checked, pointing into the input.
    std::span<const std::uint8_t> ReadTextBytes(bool& wide);
    void WriteTagIndex(std::uint32_t index);

    bool m_storing;
    bool m_fromFile = false;
    std::string m_path;
    std::vector<std::uint8_t> m_out;
    std::span<const std::uint8_t> m_in;
    std::size_t m_pos = 0;
    // Tagged-object bookkeeping: one running index for classes and objects, starting at 1.
    std::uint32_t m_nextIndex = 1;
    std::vector<std::pair<std::string, std::uint32_t>> m_classes; // class name and its index
    std::vector<std::int32_t> m_indexKind; // loading: per index, the slot in m_classes or -1 for an object
};

} // namespace corvelin
