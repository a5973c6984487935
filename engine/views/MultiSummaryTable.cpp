#include "engine/views/MultiSummaryTable.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "engine/core/LibraryChromatogram.h"
#include "engine/core/PeakShare.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/table/ReportTable.h"
#include "engine/views/MultiSummaryResultData.h"
#include "engine/views/SummaryISTD.h"
#include "engine/views/SummaryQuartiles.h"

namespace corvelin {

namespace {

constexpr const char* kNoISTD = "no ISTD";

std::string RelativeText(double value, SummaryDigits digits)
{
    if (digits == SummaryDigits::File || !(std::abs(value) > 0) || !std::isfinite(value))
        return FormatC("%.3f", value);
    // Three significant digits, but never fewer decimals than the file's three and never an exponent.
    const int decimals = std::clamp(2 - static_cast<int>(std::floor(std::log10(std::abs(value)))), 3, 12);
    return FormatC("%.*f", decimals, value);
}

std::string CellText(const CLibraryChromatogramPeakData& q, const CLibraryChromatogramPeakData* istd,
                     const CSearchOptions& options, const CSummaryQuartiles& quartiles, SummaryDigits digits)
{
    const bool relative = options.SummaryRelative != 0;
    switch (options.SummaryDisplayOption) {
    case 0:
        if (!relative)
            return FormatC("%.0f", q.Area);
        if (istd && istd->Area > 0)
            return RelativeText(q.Area / istd->Area, digits);
        return kNoISTD;
    case 1:
        if (!relative)
            return FormatC("%.0f", q.Height);
        if (istd && istd->Height > 0)
            return RelativeText(q.Height / istd->Height, digits);
        return kNoISTD;
    case 2:
        if (!relative)
            return FormatC("%.2f", q.RT);
        if (istd && istd->Area > 0)
            return RelativeText(q.RT / istd->RT, digits);
        return kNoISTD;
    case 3:
        return QuartileClass(q.Area, quartiles);
    default:
        return kNoISTD;
    }
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

void PrepareMultiSummaryTable(CReportTable& table)
{
    table.DeleteAllColumns();
    table.InsertColumn("File Path", 250);
    table.InsertColumn("Sample Name", 250);
    table.SetHoldsPaths(0, true);
    table.SetEmptyText(kSummaryEmptyText);
}

std::string SummaryRelativePath(const std::string& path, const std::string& folder)
{
    if (folder.empty())
        return path;
    std::string relative = std::filesystem::path(path).lexically_relative(folder).generic_string();
    if (relative.empty())
        return path;
    while (relative.rfind("./", 0) == 0)
        relative.erase(0, 2);
    return relative;
}

void FillMultiSummaryTable(const CMultiSummaryResultData& result, const CSearchOptions& options, CReportTable& table,
                           const std::function<int(const std::string&)>& measure, SummaryDigits digits)
{
    const int pathWidth = table.ColumnCount() > 0 ? table.Width(0) : 250;
    const int nameWidth = table.ColumnCount() > 1 ? table.Width(1) : 250;
    const std::string emptyText = table.EmptyText();
    table.DeleteAllColumns();
    table.InsertColumn("File Path", pathWidth);
    table.InsertColumn("Sample Name", nameWidth);
    table.SetHoldsPaths(0, true);
    table.SetEmptyText(emptyText);

    const int groups = result.GroupCount();
    for (int g = 0; g < groups; ++g)
        table.InsertColumn(FormatC("RT %.2f, ID %i", result.ReferencePeak(g)->RT, g + 1), 80, ColumnAlign::Right);

    const int chromatograms = result.ChromatogramCount();
    if (chromatograms > 0) {
        const std::string base = FolderOf(result.Chromatogram(0).SourcePath);
        std::vector<const CLibraryChromatogramPeakData*> istd(static_cast<std::size_t>(chromatograms), nullptr);
        for (int j = 0; j < chromatograms; ++j) {
            const CLibraryChromatogram& c = result.Chromatogram(j);
            std::vector<std::string> cells(static_cast<std::size_t>(kSummaryFirstGroupColumn + groups));
            cells[0] = SummaryRelativePath(c.SourcePath, base);
            cells[1] = c.SampleName.empty() ? c.Comment : c.SampleName;
            table.AddRow(std::move(cells), static_cast<std::uintptr_t>(j));
            if (options.SummaryRelative) {
                const int index = FindISTDPeak(c, options);
                istd[static_cast<std::size_t>(j)] = index >= 0 ? c.GetPeak(index) : nullptr;
            }
        }
        for (int e = 0; e < groups; ++e) {
            CSummaryQuartiles quartiles;
            if (options.SummaryDisplayOption == 3) {
                std::vector<double> areas;
                for (int j = 0; j < chromatograms; ++j)
                    if (const auto* q = result.Cell(j, e))
                        areas.push_back(q->Area);
                quartiles = SummaryQuartiles(std::move(areas));
            }
            for (int j = 0; j < chromatograms; ++j)
                if (const auto* q = result.Cell(j, e))
                    table.SetCell(j, kSummaryFirstGroupColumn + e,
                                  CellText(*q, istd[static_cast<std::size_t>(j)], options, quartiles, digits));
        }
    }
    const auto byCharacters = [](const std::string& text) { return 7 * static_cast<int>(text.size()); };
    table.AutoSizeColumns(-1, true, measure ? measure : byCharacters);
}

const CLibraryChromatogramPeakData* SummaryCellPeak(const CMultiSummaryResultData& result, int chromatogram, int column)
{
    const int group = column - kSummaryFirstGroupColumn;
    if (chromatogram < 0 || chromatogram >= result.ChromatogramCount() || group < 0 || group >= result.GroupCount())
        return nullptr;
    return result.Cell(chromatogram, group);
}

std::string SummaryPeakTip(const CMultiSummaryResultData& result, int chromatogram, int column,
                           std::uintptr_t pictureHandle, int width, int height)
{
    const CLibraryChromatogramPeakData* q = SummaryCellPeak(result, chromatogram, column);
    if (!q)
        return {};
    const CLibraryChromatogram& c = result.Chromatogram(chromatogram);
    const int group = column - kSummaryFirstGroupColumn;
    return FormatC("<h2>Peak Information</h2><br><br><table border=1><tr><td>Group ID = %i<br>Peak Number = %2i<br>"
                   "RT = %.2f<br>"
                   "RI = %.1f<br>Area = %.2f %%<br>Area = %.0f <br>Height = %.2f %%<br>Height = %.1f <br>"
                   "Width = %.2f sec</td></tr><tr><td><bmp handle=%lu cx=%i cy=%i><br><a msg=\"%i-Nist-%i\">Send "
                   "to NIST</a> <a msg=\"%i-Spec-%i\">Send to MS options</a></td></tr></table>",
                   group + 1, q->PeakNumber, q->RT, q->RI, PeakSharePercent(q->Area, c.TotalArea), q->Area,
                   PeakSharePercent(q->Height, c.TotalHeight), q->Height, q->WidthSeconds(),
                   static_cast<unsigned long>(pictureHandle), width, height, chromatogram, group, chromatogram, group);
}

CSummaryPeakLink ParseSummaryPeakLink(const std::string& message)
{
    CSummaryPeakLink link;
    const std::size_t first = message.find('-');
    const std::size_t last = message.rfind('-');
    if (first == std::string::npos || last == first)
        return link;
    const std::string kind = message.substr(first, last - first + 1);
    if (kind == "-Nist-")
        link.Action = CSummaryPeakLink::Kind::Nist;
    else if (kind == "-Spec-")
        link.Action = CSummaryPeakLink::Kind::Spectrum;
    else
        return link;
    link.Chromatogram = std::atoi(message.substr(0, first).c_str());
    link.Group = std::atoi(message.substr(last + 1).c_str());
    return link;
}

std::string SummaryPeakLabel(const CMultiSummaryResultData& result, const CSummaryPeakLink& link)
{
    const CLibraryChromatogramPeakData* q =
        SummaryCellPeak(result, link.Chromatogram, link.Group + kSummaryFirstGroupColumn);
    if (!q)
        return {};
    return FormatC("%.2f %s", q->RT, result.Chromatogram(link.Chromatogram).SourcePath.c_str());
}

} // namespace corvelin
