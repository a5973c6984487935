#pragma once
// The program's command line: one option per argument, keywords compared without regard to case, the value
// being the rest of the argument. Options apply in command-line order (a later value wins); "/Params=" loads
// a parameter file at its position; only the first "/Convert=" or "/Search=" counts; "/Debug" shows every
// argument and restarts the walk. The desktop program and corvelinscope-batch share this parser.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/workflow/commands/CommandKeyword.h"

namespace corvelin {

class CSearchOptions;

// What the command line sets besides the start-up options: the fields of the search and conversion pages.
struct CORVELIN_ENGINE_EXPORT CCommandLine {
    // Search page.
    std::string SearchFile;    // "/Search=": the unknown; non-empty = batch search
    std::string LibraryFolder; // "/Library=", with a trailing separator; empty = not given
    bool SaveAfterBatch = false;
    bool PrintAfterBatch = false;
    // Conversion page ("Add Chromatogram"); the page's own start values unless the command line set them.
    std::string ConvertFile;   // "/Convert=": non-empty = batch conversion
    bool MinAreaOn = false;    // "Minimum  peak area %" switch
    double MinArea = 0.5;      // percent
    bool MinAreaGiven = false; // the command line set the two conversion fields
    // Extensions of this system, accepted by both programs.
    int Threads = 0; // "/Threads=": worker threads of a library search; 0 = one per core
    // "/Subfolders=<0|1>" sets the options' "Search subfolders" switch.
    // The batch program's commands (the last value of a keyword wins; paths lose one trailing double quote). A
    // command whose keyword was given with an empty value is still asked for, except "/Display=".
    std::string DisplayFile;                    // "/Display="
    std::optional<std::string> SummaryOutput;   // "/Summary="
    std::vector<std::string> SummaryOf;         // every "/SummaryOf=", in order
    std::optional<std::string> PeakTableThis;   // "/PeakTable="
    std::string PeakTableOther;                 // "/PeakTableOther="
    std::string PeakTableCsv;                   // "/PeakTableCsv="
    std::optional<std::string> MSReportFile;    // "/MSReport="
    std::string MSReportCsv;                    // "/MSReportCsv="
    std::optional<std::string> MatchMatrixThis; // "/MatchMatrix="
    std::string MatrixOther;                    // "/MatrixOther="
    std::string MatrixCsv;                      // "/MatrixCsv="
    std::vector<std::string> Unknowns;          // every "/Unknowns=": folders or list files of unknowns
    std::vector<std::string> Merge;             // every "/Merge=": shard result files or folders of them
    std::string Shard;                          // "/Shard=k/n" (checked when taken); empty = the whole library
    std::string Out;                            // "/Out=": report, shard file or folder of them
    bool Debug = false;                         // "/Debug" was given
    std::optional<std::string> TicCsv;          // "/TIC=" (with "/Display=" of a raw run)
    // A new command's fields go here (see CommandKeyword.h).
    // Arguments that were recognised but refused, with the reason, for a batch program to report.
    std::vector<std::string> Refused;

    bool IsBatchSearch() const noexcept { return !SearchFile.empty(); }
    bool IsBatchConversion() const noexcept { return !ConvertFile.empty(); }
};

// Loads a search parameter file into the options (the "/Params=" keyword); errors are the loader's to report.
using ParameterFileLoader = std::function<void(const std::string& path, CSearchOptions& options)>;

// Parses args (args[0] = the program's path, which matches no keyword) into the start-up options and the
// returned page fields. Debug texts go to the message sink as information boxes titled
// "Corvelinscope debug mode". Values are checked before they are taken: a switch must be a whole number,
// "/SWnd=" and "/RIWnd=" finite and not negative, "/MinArea=" 0 to 100, "/RTRange=" a valid range text,
// "/Weight=" 0 ... 4, "/Library=" not empty; a refused value leaves the option as it was and the argument is
// listed in Refused with the reason. Arguments matching no keyword of the program (CommandKeywords) are listed
// there too ("unknown argument"); they change nothing.
CORVELIN_ENGINE_EXPORT CCommandLine ParseCommandLine(const std::vector<std::string>& args, CSearchOptions& startup,
                                                     const ParameterFileLoader& loadParameters,
                                                     CommandProgram program = kBatchProgram);

// Whether text begins with keyword over the keyword's whole length, ignoring ASCII case.
CORVELIN_ENGINE_EXPORT bool StartsWithKeyword(const std::string& text, const char* keyword) noexcept;
// Whether text ends with a folder separator ("/" or "\").
CORVELIN_ENGINE_EXPORT bool EndsWithSeparator(const std::string& text) noexcept;
// The folder with "/" appended unless it already ends with a separator ("/" or "\"); "" gives "/".
CORVELIN_ENGINE_EXPORT std::string WithTrailingSeparator(const std::string& folder);

} // namespace corvelin
