#pragma once
// The exit codes of a batch run (a "/Search=" or "/Convert=" command line), the same for the desktop program and
// corvelinscope-batch:
//   0  done (search with its report, conversion, display, --help)
//   1  nothing to do: no "/Search=", "/Convert=", "/Display=" or "/Summary=", a search without a library folder or with
//   one
//      that cannot be searched (missing, not a folder, the root folder), the conversion page is switched off, or a
//      "/MatchMatrix=" without "/MatrixOther="
//   2  the unknown chromatogram (or the "/Display=" file, or a match matrix file) could not be read
//   3  the unknown has more peaks than MaxPeaks, or a "/MatchMatrix=" or "/PeakTable=" file more than kMaxViewPeaks
//   4  the CSV report (or the summary CSV) could not be written
//   5  a conversion failed
//   6  the data-system plug-ins could not be set up
//   7  a merge of library shard results was refused (a shard file missing, given twice, stale or foreign)
//   8  an internal error: out of memory or an unexpected exception (the message says what happened)
//   130 the search was interrupted (SIGINT); the report of what was found is still written
#include "engine/workflow/LibrarySearch.h"
#include "engine/workflow/commands/JobOutcome.h"

namespace corvelin {

enum BatchExitCode : int {
    kExitOk = 0,
    kExitNothingToDo = 1,
    kExitUnreadable = 2,
    kExitTooManyPeaks = 3,
    kExitReportFailed = 4,
    kExitConversionFailed = 5,
    kExitNoPlugins = 6,
    kExitRefusedMerge = 7,
    kExitInternalError = 8,
    kExitInterrupted = 130,
};

// The exit code of a batch search by how the search ended, before its report is written: 2 for an unreadable
// unknown, 3 for one with too many peaks, otherwise 0.
inline int BatchSearchExitCode(LibrarySearchEnd end) noexcept
{
    return ExitCodeOf(SearchFailure(end));
}

} // namespace corvelin
