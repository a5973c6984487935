#include "readers/peak-table/PeakTableFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

#include "readers/peak-table/PeakTableParser.h"
#include "readers/peak-table/PeakTablePeakList.h"
#include "readers/peak-table/TableText.h"
#include "engine/workflow/OwnReportKind.h"

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

// A report this program wrote is not a peak table, though it is a CSV file with retention times in it.
void RefuseOwnReport(const std::string& path, const std::string& head)
{
    if (const std::string kind = OwnReportKind(head); !kind.empty())
        throw FileError(EMEDIUMTYPE, OwnReportRefusal(path, kind));
}

} // namespace

int CheckPeakTableFile(const std::string& path, const LabColumns& lab, std::string* reason) noexcept
{
    try {
        const std::string head = ReadHead(path, kHeadBytes);
        RefuseOwnReport(path, head);
        FindHeaderRow(head, lab);
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

void ReadPeakTableFile(const std::string& path, const LabColumns& lab, double minAreaPercent,
                       CLibraryChromatogram& chromatogram)
{
    const std::string text = ReadHead(path, kMaxFileBytes + 1);
    if (text.size() > kMaxFileBytes)
        throw FileError(EFBIG, "'" + path + "' is too large for a peak table.");
    RefuseOwnReport(path, text);
    FillChromatogram(ParsePeakTable(text, lab), minAreaPercent, path, chromatogram);
}

} // namespace peaktable

} // namespace corvelin
