#pragma once
// The multi-file peak summary of corvelinscope-batch: "/Summary=<file.csv>" with one or more
// "/SummaryOf=<data file or folder>" writes the summary CSV that the desktop page's "Export" writes, from the
// options the command line set up (the Show and ISTD options come from the "/Params=" file).
#include <string>
#include <vector>

namespace corvelin {

class CSearchOptions;

// Whether the arguments ask for a summary ("/Summary=" given).
bool IsSummaryRequest(const std::vector<std::string>& args);

// The input files in command-line order: a file as given, a folder as its files (by name) that a loaded
// plug-in's Extension matches. A path given twice is taken once.
std::vector<std::string> SummaryInputs(const std::vector<std::string>& args);

// Runs the summary; returns the exit code (0 written, 1 no inputs or no peaks, 4 the CSV not written).
int RunSummaryExport(const std::vector<std::string>& args, const CSearchOptions& options, int threads);

} // namespace corvelin
