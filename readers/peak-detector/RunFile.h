#pragma once
// Reading a raw-data file whole, for the parsers of the raw-data reader modules.
#include <cstdint>
#include <string>
#include <vector>

namespace corvelin {

// The bytes of path. Throws CRunReadError: ENOENT (missing), EISDIR (not a file), EACCES (unreadable),
// EFBIG (larger than maxBytes, checked before anything is allocated).
std::vector<unsigned char> ReadRunFile(const std::string& path, std::uintmax_t maxBytes);

} // namespace corvelin
