#include "readers/peak-table/PeakTableFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

#include "readers/peak-table/PeakTableParser.h"
#include "readers/peak-table/PeakTablePeakList.h"
#include "readers/peak-table/TableText.h"

namespace corvelin {

namespace peaktable {

namespace {

// The first maxBytes of a regular file. Throws FileError with the errno of a failed open or read.
std::string ReadHead(const std::string& path, std::size_t maxBytes)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        const int err = errno;
        throw FileError(err, "Cannot open '" + path + "': " + std::strerror(err));
    }
    if (S_ISDIR(info.st_mode))
        throw FileError(EISDIR, "'" + path + "' is a folder.");
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int err = errno != 0 ? errno : EACCES;
        throw FileError(err, "Cannot open '" + path + "': " + std::strerror(err));
    }
    std::string text;
    char buffer[65536];
    while (text.size() < maxBytes && in) {
        in.read(buffer, static_cast<std::streamsize>(std::min(sizeof buffer, maxBytes - text.size())));
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad())
        throw FileError(EIO, "Cannot read '" + path + "'.");
    return text;
}

} // namespace

int CheckPeakTableFile(const std::string& path, const LabColumns& lab, std::string* reason) noexcept
{
    try {
        FindHeaderRow(ReadHead(path, kHeadBytes), lab);
        return 0;
    } catch (const FileError& error) {
        try {
            if (reason != nullptr)
                *reason = error.what();
        } catch (...) {
        }
        return error.Code();
    } catch (const TableError& error) {
        try {
            if (reason != nullptr)
                *reason = "'" + path + "' is not a peak table: " + error.what() + ".";
        } catch (...) {
        }
        return EMEDIUMTYPE;
    } catch (...) {
        return EIO;
    }
}

std::string ReadPeakTableFile(const std::string& path, const LabColumns& lab, double minAreaPercent,
                              CLibraryChromatogram& chromatogram)
{
    const std::string text = ReadHead(path, kMaxFileBytes + 1);
    if (text.size() > kMaxFileBytes)
        throw FileError(EFBIG, "'" + path + "' is too large for a peak table.");
    const PeakTable table = ParsePeakTable(text, lab);
    FillChromatogram(table, minAreaPercent, path, chromatogram);
    if (table.leftOutCount == 0)
        return {};
    std::string warning = std::to_string(table.leftOutCount) + " rows of '" + path + "' were left out:";
    for (const std::string& reason : table.leftOut)
        warning += "\n" + reason;
    if (table.leftOutCount > table.leftOut.size())
        warning += "\n...";
    return warning;
}

} // namespace peaktable

} // namespace corvelin
