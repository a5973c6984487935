#pragma once
// The results table of the multi-file peak summary: columns "File Path" and "Sample Name", then one column per
// peak group ("RT %.2f, ID %i"); one row per chromatogram (item data = its index in the result record) with the
// area, height or RT of its peak in each group, optionally relative to its ISTD peak, or the area's quartile
// class within the group. Also the hover text of a cell and the peak actions of its links.
#include <cstdint>
#include <functional>
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CMultiSummaryResultData;
class CReportTable;
class CSearchOptions;
class CLibraryChromatogramPeakData;

inline constexpr const char* kSummaryEmptyText = "This list will contain data after comparing.";
inline constexpr const char* kSummarySearchingText = "Searching ...";
inline constexpr int kSummaryFirstGroupColumn = 2;

// The table as the page creates it: "File Path" and "Sample Name" (width 250 each), no rows, the empty text.
CORVELIN_ENGINE_EXPORT void PrepareMultiSummaryTable(CReportTable& table);

// How values relative to the ISTD are written: File "%.3f" (the CSV export), Screen with at least three
// significant digits (a small peak against a large ISTD would read 0.000 otherwise).
enum class SummaryDigits { File, Screen };

// Rebuilds rows and group columns from the result record (the first two columns keep their widths). measure
// gives a text's width in pixels for sizing the columns to content and header; without it a width of 7 pixels
// per character is assumed.
CORVELIN_ENGINE_EXPORT void FillMultiSummaryTable(const CMultiSummaryResultData& result, const CSearchOptions& options,
                                                  CReportTable& table,
                                                  const std::function<int(const std::string&)>& measure = {},
                                                  SummaryDigits digits = SummaryDigits::File);

// The path relative to the folder (without a trailing "/"), with a leading "./" removed; the path itself when
// no relative form can be computed (empty folder, one path absolute and the other not).
CORVELIN_ENGINE_EXPORT std::string SummaryRelativePath(const std::string& path, const std::string& folder);

// The peak of the cell at (row's chromatogram, table column), or nullptr (columns 0 and 1, empty cells, indexes
// out of range).
CORVELIN_ENGINE_EXPORT const CLibraryChromatogramPeakData* SummaryCellPeak(const CMultiSummaryResultData& result,
                                                                           int chromatogram, int column);

// The hover text of a cell holding a peak (empty otherwise): the group's ID (the column's "ID %i"), the peak's
// own number in its chromatogram, its values and links. pictureHandle names the peak's spectrum picture of
// width x height pixels.
CORVELIN_ENGINE_EXPORT std::string SummaryPeakTip(const CMultiSummaryResultData& result, int chromatogram, int column,
                                                  std::uintptr_t pictureHandle, int width, int height);

// A link of the hover text: "<chromatogram>-Nist-<group>" or "<chromatogram>-Spec-<group>".
struct CORVELIN_ENGINE_EXPORT CSummaryPeakLink {
    enum class Kind { None, Nist, Spectrum };
    Kind Action = Kind::None;
    int Chromatogram = -1;
    int Group = -1;
};
// The number before the first "-" and after the last "-", and the action named between them.
CORVELIN_ENGINE_EXPORT CSummaryPeakLink ParseSummaryPeakLink(const std::string& message);
// The label of a peak sent from the summary: "%.2f %s" with its RT and the chromatogram's SourcePath.
CORVELIN_ENGINE_EXPORT std::string SummaryPeakLabel(const CMultiSummaryResultData& result,
                                                    const CSummaryPeakLink& link);

} // namespace corvelin
