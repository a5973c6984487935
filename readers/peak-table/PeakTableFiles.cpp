#include "readers/peak-table/PeakTableFiles.h"

#include <cerrno>

#include "engine/workflow/OwnReportKind.h"
#include "readers/peak-table/PeakTableParser.h"
#include "readers/peak-table/PeakTablePeakList.h"
#include "readers/peak-table/TableText.h"

namespace corvelin {

namespace peaktable {

namespace {

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
        const std::string head = peaklist::ReadFileHead(path, kHeadBytes);
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

std::string ReadPeakTableFile(const std::string& path, const LabColumns& lab, double minAreaPercent,
                              CLibraryChromatogram& chromatogram)
{
    const std::string text = peaklist::ReadFileHead(path, kMaxFileBytes + 1);
    if (text.size() > kMaxFileBytes)
        throw FileError(EFBIG, "'" + path + "' is too large for a peak table (the limit is " +
                                   std::to_string(kMaxFileBytes >> 20) + " MB).");
    RefuseOwnReport(path, text);
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
