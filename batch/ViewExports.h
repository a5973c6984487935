#pragma once
// The comparison views of the desktop program written headless as CSV files: the peak match table of two
// chromatograms ("/PeakTable=<this>" with "/PeakTableOther=<other>", optional "/PeakTableCsv=<file>") and the
// mass spec match report of one chromatogram ("/MSReport=<file>", optional "/MSReportCsv=<file>") and the table of
// the match matrix of two chromatograms ("/MatchMatrix=<this>" with "/MatrixOther=<other>", optional
// "/MatrixCsv=<file>"; a missing "/MatrixOther=" ends with "nothing to do"). Without an output file the CSV goes
// to stdout. The bytes are those of the pages' exports.
#include <string>
#include <vector>

namespace corvelin {

class CSearchOptions;

// Whether the arguments ask for one of these exports.
bool IsViewExport(const std::vector<std::string>& args);

// Runs the export the arguments ask for with the start-up options (parameter file and switches applied).
// Returns a BatchExitCode.
int RunViewExport(const std::vector<std::string>& args, const CSearchOptions& options);

} // namespace corvelin
