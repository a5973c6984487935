#pragma once
// corvelinscope-batch: the desktop program's command line run without a window.
//
// Exit codes:
//   0  done (search with its report, conversion, display, --help)
//   1  nothing to do: no "/Search=", "/Convert=", "/Display=" or "/Summary=" (usage on stderr), a search without a
//   library
//      folder, the conversion page is switched off by option ("ShowPageAdd" = 0), or a "/MatchMatrix=" without
//      "/MatrixOther="
//   2  the unknown chromatogram (or the "/Display=" file, or a match matrix file) could not be read
//   3  the unknown has more peaks than MaxPeaks
//   4  the CSV report (or the summary CSV) could not be written
//   5  a conversion failed
//   6  the data-system plug-ins could not be set up
//   130 the search was interrupted (SIGINT); the report of what was found is still written
#include <string>
#include <vector>

namespace corvelin {

enum BatchExitCode : int {
    kExitOk = 0,
    kExitNothingToDo = 1,
    kExitUnreadable = 2,
    kExitTooManyPeaks = 3,
    kExitReportFailed = 4,
    kExitConversionFailed = 5,
    kExitNoPlugins = 6,
    kExitInterrupted = 130,
};

int RunBatchProgram(const std::vector<std::string>& args);

} // namespace corvelin
