#pragma once
// The CSV report of a library search, written next to the unknown chromatogram: a header block, the search
// parameters, "Library Hits:", the header row and one line per hit-list row in its current order, with the
// visible columns in column index order (not the on-screen order). A text-mode file: lines end with CR LF.
#include <ctime>
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CReportTable;
class CSearchOptions;

struct CORVELIN_ENGINE_EXPORT CSearchReport {
    std::string UnknownPath;
    std::string SampleName;    // the sample name text as displayed
    std::string PeakCountText; // the number-of-peaks text as displayed ("%2i")
    std::string LibraryFolder;
    // Only for a search stopped before its end: the line written before "Library Hits:", so the report does
    // not pass for a complete one (see StoppedSearchLine).
    std::string StoppedLine;
};

// "Search stopped after <rows> of <entries> library entries".
CORVELIN_ENGINE_EXPORT std::string StoppedSearchLine(int rows, int entries);

// The unknown path without its last four characters (whatever they are), the local time as
// " %Y-%m-%d %H-%M", and ".csv".
CORVELIN_ENGINE_EXPORT std::string SearchReportFileName(const std::string& unknownPath, std::time_t when);

// The report's text with "\n" line ends (written in text mode).
CORVELIN_ENGINE_EXPORT std::string SearchReportText(const CSearchReport& report, const CSearchOptions& options,
                                                    const CReportTable& hits);
// The same with the parameter block given as its text (SearchParameterText of the search's options), for a
// report finished where the options are known only by that text (a merge of library shards).
CORVELIN_ENGINE_EXPORT std::string SearchReportText(const CSearchReport& report, const std::string& parameterText,
                                                    const CReportTable& hits);

// Writes the report under SearchReportFileName(now); an existing report is never replaced: the first free name
// with " (2)", " (3)", ... before ".csv" is taken (a second search within the same minute). On failure shows the
// system's description of the error, a line break and "Could not open file %s. Please ensure that it is not
// opened, e.g. by Excel." (titled with the program's name) and returns false. path receives the name used.
CORVELIN_ENGINE_EXPORT bool WriteSearchReport(const CSearchReport& report, const CSearchOptions& options,
                                              const CReportTable& hits, std::string* path = nullptr,
                                              std::time_t when = std::time(nullptr));
// The same for a report text already made.
CORVELIN_ENGINE_EXPORT bool WriteSearchReportText(const CSearchReport& report, const std::string& text,
                                                  std::string* path = nullptr, std::time_t when = std::time(nullptr));
// Writes the report text to exactly this file (replacing it whole, see WriteTextFile); on failure shows the same
// message as WriteSearchReport and returns false.
CORVELIN_ENGINE_EXPORT bool WriteSearchReportTextTo(const std::string& file, const std::string& text);

} // namespace corvelin
