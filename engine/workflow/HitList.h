#pragma once
// The library search hit list: its 17 columns, the texts of its rows, its sort and its stored arrangement
// (settings section "LibrarySearch"). The list's rows are the only store of search results; the report
// writers and the hand-offs read the cell texts back.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/table/ReportTable.h"

namespace corvelin {

class CLibraryChromatogramData;
class CLibraryHit;
struct CLibrarySearchResult;

inline constexpr const char* kLibrarySearchSection = "LibrarySearch";
inline constexpr int kHitListColumns = 17;
inline constexpr int kHitListForwardColumn = 3;
// Column headers in column index order (the third column's header is spelt as the users know it).
extern CORVELIN_ENGINE_EXPORT const std::array<const char*, kHitListColumns> kHitListHeaders;

// Empty texts of the list.
inline constexpr const char* kHitListIdleText = "Hit list will contain data after a search.";
inline constexpr const char* kHitListSearchingText = "Searching ...";
inline constexpr const char* kHitListNoDataText = "No data in library";

// Replaces the table's columns by the hit list's (left-aligned, width 40) and applies the stored arrangement.
CORVELIN_ENGINE_EXPORT void SetUpHitListColumns(CReportTable& table);

// The cells of a compared entry: "File" (relative prefix + file name), sample name, comment, forward and
// reverse match "%.3f", the two peak counts "%2i/%2i", the five forward and the five reverse factors "%.3f".
CORVELIN_ENGINE_EXPORT std::vector<std::string>
HitRowCells(const std::string& file, const CLibraryChromatogramData& entry, const CLibraryHit& hit);
// The row of an entry with more peaks than MaxPeaks (nothing compared).
CORVELIN_ENGINE_EXPORT std::vector<std::string> TooManyPeaksRowCells(const std::string& file,
                                                                     const CLibraryChromatogramData& entry);
// The row of an entry file that could not be read (nothing compared).
CORVELIN_ENGINE_EXPORT std::vector<std::string> UnreadableEntryRowCells(const std::string& file);
// The row of an item named like an entry that is no file ("a folder", "a broken symbolic link", ...).
CORVELIN_ENGINE_EXPORT std::vector<std::string> NotAFileEntryRowCells(const std::string& file,
                                                                      const std::string& reason);

// A click on column c: columns 0 to 2 ascending as text ignoring case, 3 to 16 descending as reals.
CORVELIN_ENGINE_EXPORT void SortHitList(CReportTable& table, int column);

// The pixel width of a cell text, for the column auto-size.
using TextMeasure = std::function<int(const std::string&)>;

// The end of a search on the hit list that received its rows: a completed or stopped search sorts by "Foward"
// descending, re-applies the stored arrangement and shows "No data in library" when no row came; a failed
// unknown becomes the only row (its text in "File", or the unknown path and the too-many-peaks text, with
// columns 0 and 1 sized to their content when measure is given).
CORVELIN_ENGINE_EXPORT void FinishHitList(const CLibrarySearchResult& result, const std::string& unknownPath,
                                          CReportTable& table, const TextMeasure& measure);

} // namespace corvelin
