#include "readers/peak-detector/RunFile.h"

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "readers/peak-detector/RunReadError.h"

namespace corvelin {

std::vector<unsigned char> ReadRunFile(const std::string& path, std::uintmax_t maxBytes)
{
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status))
        throw CRunReadError(ENOENT, "'" + path + "' does not exist.");
    if (!std::filesystem::is_regular_file(status))
        throw CRunReadError(EISDIR, "'" + path + "' is not a file.");
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec)
        throw CRunReadError(EACCES, "'" + path + "' cannot be read.");
    if (size > maxBytes)
        throw CRunReadError(EFBIG, "'" + path + "' is too large for a GC-MS run.");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw CRunReadError(EACCES, "'" + path + "' cannot be opened.");
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

} // namespace corvelin
