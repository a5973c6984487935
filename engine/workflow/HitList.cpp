#include "engine/workflow/HitList.h"

#include "engine/compare/LibraryHit.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/platform/CFormat.h"
#include "engine/table/ColumnArrangement.h"
#include "engine/workflow/LibrarySearch.h"

namespace corvelin {

const std::array<const char*, kHitListColumns> kHitListHeaders = {
    "File",    "S.Name",  "Comment", "Foward", "Reverse", "nPeaks Forward", "nPeaks Reverse", "Forw MS", "Forw RT",
    "Forw RI", "Forw Ar", "Forw Hg", "Rev MS", "Rev RT",  "Rev RI",         "Rev Ar",         "Rev Hg"};

void SetUpHitListColumns(CReportTable& table)
{
    table.DeleteAllColumns();
    for (const char* header : kHitListHeaders)
        table.InsertColumn(header, 40, ColumnAlign::Left);
    table.SetHoldsPaths(0, true); // "File": the entry's path relative to the library folder
    ApplyStoredArrangement(table, kLibrarySearchSection);
}

std::vector<std::string> HitRowCells(const std::string& file, const CLibraryChromatogramData& entry,
                                     const CLibraryHit& hit)
{
    return {file,
            entry.SampleName,
            entry.Comment,
            FormatC("%.3f", hit.Overall),
            FormatC("%.3f", hit.ReverseOverall),
            FormatC("%2i/%2i", hit.MatchedPeaks, hit.ConsideredPeaks),
            FormatC("%2i/%2i", hit.ReverseMatchedPeaks, hit.ReverseConsideredPeaks),
            FormatC("%.3f", hit.MSAverage),
            FormatC("%.3f", hit.RTAverage),
            FormatC("%.3f", hit.RIAverage),
            FormatC("%.3f", hit.AreaAverage),
            FormatC("%.3f", hit.HeightAverage),
            FormatC("%.3f", hit.ReverseMSAverage),
            FormatC("%.3f", hit.ReverseRTAverage),
            FormatC("%.3f", hit.ReverseRIAverage),
            FormatC("%.3f", hit.ReverseAreaAverage),
            FormatC("%.3f", hit.ReverseHeightAverage)};
}

std::vector<std::string> TooManyPeaksRowCells(const std::string& file, const CLibraryChromatogramData& entry)
{
    return {file, FormatC("Warning: Library File %s has too many peaks to be comparable!", entry.DataFile.c_str())};
}

std::vector<std::string> UnreadableEntryRowCells(const std::string& file)
{
    return {file, FormatC("Warning: Library File %s could not be read!", file.c_str())};
}

std::vector<std::string> NotAFileEntryRowCells(const std::string& file, const std::string& reason)
{
    return {file,
            FormatC("Warning: Library File %s is not a file (%s) and was skipped!", file.c_str(), reason.c_str())};
}

void SortHitList(CReportTable& table, int column)
{
    if (column < 0 || column >= table.ColumnCount())
        return;
    if (column <= 2)
        table.Sort({column + 1, kCompareTextNoCase}, {0, kCompareEqual}, {0, kCompareEqual});
    else
        table.Sort({-(column + 1), kCompareReal}, {0, kCompareEqual}, {0, kCompareEqual});
}

void FinishHitList(const CLibrarySearchResult& result, const std::string& unknownPath, CReportTable& table,
                   const TextMeasure& measure)
{
    switch (result.End) {
    case LibrarySearchEnd::UnknownUnreadable:
    case LibrarySearchEnd::UnknownBeyondBound:
        table.DeleteAllRows();
        table.AddRow({result.FailureText});
        break;
    case LibrarySearchEnd::UnknownTooManyPeaks:
        table.DeleteAllRows();
        table.AddRow({unknownPath, result.FailureText});
        if (measure && table.ColumnCount() > 1) {
            table.AutoSizeColumns(0, false, measure);
            table.AutoSizeColumns(1, false, measure);
        }
        break;
    case LibrarySearchEnd::Completed:
    case LibrarySearchEnd::Stopped:
        SortHitList(table, kHitListForwardColumn);
        ApplyStoredArrangement(table, kLibrarySearchSection);
        if (table.RowCount() == 0)
            table.SetEmptyText(kHitListNoDataText);
        break;
    }
}

} // namespace corvelin
