#pragma once
// SHA-256 (FIPS 180-4) of byte strings and files, for the fingerprints of shard result files: small and
// dependency-free; not meant for secrets (no constant-time guarantees are needed or given).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CORVELIN_ENGINE_EXPORT CSha256 {
public:
    CSha256() noexcept;
    // Adds bytes to the message; may be called any number of times.
    void Update(std::string_view bytes) noexcept;
    // The digest of everything added; the object must not be updated afterwards.
    std::array<std::uint8_t, 32> Finish() noexcept;
    // Finish as 64 lower-case hexadecimal digits.
    std::string FinishHex();

private:
    void Block(const std::uint8_t* block) noexcept;

    std::array<std::uint32_t, 8> m_state;
    std::array<std::uint8_t, 64> m_buffer{};
    std::size_t m_buffered = 0;
    std::uint64_t m_length = 0; // bytes
};

// The digest of bytes as 64 lower-case hexadecimal digits.
CORVELIN_ENGINE_EXPORT std::string Sha256Hex(std::string_view bytes);

// The digest of a file's contents, read in pieces (any size).
// @exception CFileException when the file cannot be opened or read.
CORVELIN_ENGINE_EXPORT std::string Sha256HexOfFile(const std::string& path);

} // namespace corvelin
