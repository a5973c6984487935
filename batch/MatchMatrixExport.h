#pragma once
// corvelinscope-batch's match matrix: "/MatchMatrix=<this file>" with "/MatrixOther=<other file>" builds the
// matrix of the two files with the start-up options and writes its table as CSV (the bytes of a text-mode file,
// CR LF line ends) to "/MatrixCsv=<file>", or to stdout when that is not given.
#include <string>
#include <vector>

namespace corvelin {

class CSearchOptions;

// Whether the arguments ask for a match matrix.
bool IsMatchMatrixRequest(const std::vector<std::string>& args);
// Exit codes: 0 written; 1 "/MatrixOther=" missing or empty; 2 a file could not be read (or lacks the RI
// calibration RI matching needs); 4 the CSV file could not be written.
int RunMatchMatrixExport(const std::vector<std::string>& args, const CSearchOptions& options);

} // namespace corvelin
