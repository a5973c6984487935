#include "engine/workflow/commands/CommandKeyword.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/scaleout/LibraryShard.h"
#include "engine/workflow/CommandLine.h"

namespace corvelin {

namespace {

// The value as a whole number: optional blanks, an optional sign, digits, optional trailing blanks; nothing else.
std::optional<long long> WholeInteger(const std::string& text)
{
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (end == text.c_str() || errno != 0)
        return std::nullopt;
    while (*end == ' ' || *end == '\t')
        ++end;
    return *end == '\0' ? std::optional<long long>(value) : std::nullopt;
}

// The value as a finite decimal number (no "nan", no "inf", nothing after the number but blanks).
std::optional<double> WholeReal(const std::string& text)
{
    if (text.find_first_of("nNiIxX") != std::string::npos) // nan, inf, hexadecimal
        return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || !std::isfinite(value))
        return std::nullopt;
    while (*end == ' ' || *end == '\t')
        ++end;
    return *end == '\0' ? std::optional<double>(value) : std::nullopt;
}

// A repeatable path keyword takes each path once (a "/Debug" walk visits the arguments before it twice).
void AddOnce(std::vector<std::string>& paths, const std::string& path)
{
    if (std::find(paths.begin(), paths.end(), path) == paths.end())
        paths.push_back(path);
}

void TakeShard(CKeywordArgument& a)
{
    if (ParseShardSpec(a.Value))
        a.Line.Shard = a.Value;
    else
        a.Refuse(FormatC("not \"k/n\" with whole numbers 0 <= k < n <= %d", kMaxShardCount),
                 "\"" + a.Line.Shard + "\"");
}

// The file of "/Convert=" or "/Search=": only the first of the two counts.
bool TakeFileCommand(CKeywordArgument& a, std::string& field, const char* debugName)
{
    if (a.FileCommandTaken)
        return false;
    a.FileCommandTaken = true;
    field = a.Path();
    a.DebugReceived(debugName, field);
    return true;
}

void TakeConvert(CKeywordArgument& a)
{
    if (!TakeFileCommand(a, a.Line.ConvertFile, "/Convert"))
        return;
    a.Line.MinAreaOn = false;
    a.Line.MinArea = 0;
    a.Line.MinAreaGiven = true;
}

void TakeSearch(CKeywordArgument& a)
{
    TakeFileCommand(a, a.Line.SearchFile, "/Search");
}

void TakeParams(CKeywordArgument& a)
{
    a.DebugReceived("/Params", a.Value);
    if (a.LoadParameters)
        a.LoadParameters(a.Value, a.Options);
}

void TakeMinArea(CKeywordArgument& a)
{
    double value = a.Options.AreaThreshold;
    if (!a.Real(value, 0.0, 100.0, "a percentage from 0 to 100"))
        return;
    a.Options.AreaThresholdOn = 1;
    a.Options.AreaThreshold = value;
    a.Line.MinAreaOn = true;
    a.Line.MinArea = value;
    a.Line.MinAreaGiven = true;
}

void TakeLibrary(CKeywordArgument& a)
{
    if (a.Path().empty()) {
        // An empty folder would become "/" and the search would walk the whole file system.
        a.Line.Refused.push_back(a.Arg + ": an empty library folder is refused");
        return;
    }
    a.Line.LibraryFolder = WithTrailingSeparator(a.Path());
    a.DebugReceived("/Library", a.Line.LibraryFolder);
}

void TakeRTRange(CKeywordArgument& a)
{
    if (CSearchOptions::IsValidTimeRange(a.Value))
        a.Options.TimeRange = a.Value;
    else
        a.Refuse("not an RT search range (\"*\" or ranges such as \"2-5;7-9\")", "\"" + a.Options.TimeRange + "\"");
}

// The weighting index names one of five weightings; anything else is refused, not clamped, so a typing error
// cannot silently select a different method.
void TakeWeight(CKeywordArgument& a)
{
    a.Whole(a.Options.Weighting, 0, 4, "the weighting index must be 0 to 4");
}

void TakeThreads(CKeywordArgument& a)
{
    a.Whole(a.Line.Threads, 0, 4096, "not a thread count (0 = one per core)");
}

constexpr const char* kFileHint = "<file>";
constexpr const char* kSwitchHint = "<0|1>";

// Keywords whose value is a path that the last one gives.
#define CORVELIN_PATH_FIELD(field) [](CKeywordArgument& a) { a.Line.field = a.Path(); }
#define CORVELIN_SWITCH(field) [](CKeywordArgument& a) { a.Switch(a.Options.field); }

const std::vector<CCommandKeyword> kKeywords = {
    {"/Search=", kFileHint, CommandKind::Search, true, kBothPrograms,
     "search the library with this unknown chromatogram; the hit list goes to stdout and\n"
     "the CSV report next to the unknown (\"<unknown minus 4 chars> YYYY-MM-DD HH-MM.csv\")",
     "search the library with this unknown chromatogram, then save the CSV report\n"
     "next to it (and print with /Print) and close",
     TakeSearch},
    {"/Library=", "<folder>", CommandKind::Search, false, kBothPrograms,
     "library folder (default: setting LastFolder of section LibrarySearch)",
     "library folder (default: the last one of the library search page)", TakeLibrary},
    {"/Convert=", kFileHint, CommandKind::Convert, true, kBothPrograms,
     "convert a data file into a library entry beside it (\"Display & Convert\")",
     "convert a data file into a library entry beside it and close", TakeConvert},
    {"/Display=", kFileHint, CommandKind::Display, true, kBatchProgram,
     "print what a data file holds (\"just display\") without converting", nullptr, CORVELIN_PATH_FIELD(DisplayFile)},
    {"/PeakTable=", kFileHint, CommandKind::PeakTable, true, kBatchProgram,
     "peak match table of this file against /PeakTableOther=<file>, as the CSV of the\n"
     "page's \"CSV-Export\" (to /PeakTableCsv=<file>, else stdout); compare options as given",
     nullptr, [](CKeywordArgument& a) { a.Line.PeakTableThis = a.Path(); }},
    {"/PeakTableOther=", kFileHint, CommandKind::PeakTable, false, kBatchProgram,
     "the other file of the peak match table", nullptr, CORVELIN_PATH_FIELD(PeakTableOther)},
    {"/PeakTableCsv=", kFileHint, CommandKind::PeakTable, false, kBatchProgram, "the peak match table's CSV file",
     nullptr, CORVELIN_PATH_FIELD(PeakTableCsv)},
    {"/MSReport=", kFileHint, CommandKind::MSReport, true, kBatchProgram,
     "mass spec match report of the file against the marked spectra of the parameter file's\n"
     "spectral list, as CSV (to /MSReportCsv=<file>, else stdout)",
     nullptr, [](CKeywordArgument& a) { a.Line.MSReportFile = a.Path(); }},
    {"/MSReportCsv=", kFileHint, CommandKind::MSReport, false, kBatchProgram, "the mass spec match report's CSV file",
     nullptr, CORVELIN_PATH_FIELD(MSReportCsv)},
    {"/MatchMatrix=", kFileHint, CommandKind::MatchMatrix, true, kBatchProgram,
     "the match matrix of this file (\"this\") against /MatrixOther=<file> (\"other\"):\n"
     "its table as CSV to /MatrixCsv=<file>, else to stdout",
     nullptr, [](CKeywordArgument& a) { a.Line.MatchMatrixThis = a.Path(); }},
    {"/MatrixOther=", kFileHint, CommandKind::MatchMatrix, false, kBatchProgram, "the other file of the match matrix",
     nullptr, CORVELIN_PATH_FIELD(MatrixOther)},
    {"/MatrixCsv=", kFileHint, CommandKind::MatchMatrix, false, kBatchProgram, "the match matrix's CSV file", nullptr,
     CORVELIN_PATH_FIELD(MatrixCsv)},
    {"/Summary=", kFileHint, CommandKind::Summary, true, kBatchProgram,
     "write the multi-file peak summary CSV of the /SummaryOf= inputs (Show and ISTD options\n"
     "from the /Params= file, as on the desktop page)",
     nullptr, [](CKeywordArgument& a) { a.Line.SummaryOutput = a.Path(); }},
    {"/SummaryOf=", "<path>", CommandKind::Summary, false, kBatchProgram,
     "a chromatogram file, or a folder (its files that a plug-in reads, by name); repeatable", nullptr,
     [](CKeywordArgument& a) { a.Line.SummaryOf.push_back(a.Path()); }},
    {"/Unknowns=", "<path>", CommandKind::Unknowns, true, kBatchProgram,
     "search many unknowns in one pass (each library entry read once): a folder (its files a\n"
     "reader reads, not .csv reports or shard files) or a list file (one path a line); each\n"
     "unknown gets the report a search of it alone writes (into /Out=<folder> when given)",
     nullptr, [](CKeywordArgument& a) { AddOnce(a.Line.Unknowns, a.Path()); }},
    {"/Shard=", "<k>/<n>", CommandKind::None, false, kBatchProgram,
     "search only library shard k of n (FNV-1a 64 of the entry path relative to the library\n"
     "folder, modulo n) and write its shard result file to /Out= (with /Unknowns=: a folder)",
     nullptr, TakeShard},
    {"/Out=", kFileHint, CommandKind::None, false, kBatchProgram,
     "the report file of /Search= (instead of next to the unknown), the shard result file of\n"
     "/Shard= (a folder with /Unknowns=), the report file (or folder) of /Merge=",
     nullptr, CORVELIN_PATH_FIELD(Out)},
    {"/Merge=", "<path>", CommandKind::Merge, true, kBatchProgram,
     "put shard result files (or folders of them) together into the report of the one-machine\n"
     "search, next to the unknown or to /Out=; the library is not needed; repeatable",
     nullptr, [](CKeywordArgument& a) { AddOnce(a.Line.Merge, a.Path()); }},
    {"/TIC=", kFileHint, CommandKind::Tic, true, kBatchProgram,
     "with /Display= of a raw run: its total-ion chromatogram and the peaks a conversion\n"
     "finds, as CSV (\"Time (min)\",\"TIC\" rows, an empty line, one row per peak; empty: stdout)",
     nullptr, [](CKeywordArgument& a) { a.Line.TicCsv = a.Path(); }},
    // Scale-out commands go here, each with its fields in CCommandLine.
    {"/Params=", kFileHint, CommandKind::None, false, kBothPrograms, "load a search parameter file at this position",
     nullptr, TakeParams},
    {"/MinArea=", "<real>", CommandKind::None, false, kBothPrograms,
     "area threshold (%) on; minimum peak area of a conversion given after /Convert=", nullptr, TakeMinArea},
    {"/SWnd=", "<real>", CommandKind::None, false, kBothPrograms, "RT window width", nullptr,
     [](CKeywordArgument& a) { a.Real(a.Options.RTWindowWidth, 0.0, 1e6, "minutes, 0 or more"); }},
    {"/RIWnd=", "<real>", CommandKind::None, false, kBothPrograms, "RI window width", nullptr,
     [](CKeywordArgument& a) { a.Real(a.Options.RIWindowWidth, 0.0, 1e9, "index units, 0 or more"); }},
    {"/MS=", kSwitchHint, CommandKind::None, false, kBothPrograms, "MS matching", nullptr, CORVELIN_SWITCH(MSMatching)},
    {"/RT=", kSwitchHint, CommandKind::None, false, kBothPrograms, "RT matching", nullptr, CORVELIN_SWITCH(RTMatching)},
    {"/RI=", kSwitchHint, CommandKind::None, false, kBothPrograms, "RI matching", nullptr, CORVELIN_SWITCH(RIMatching)},
    {"/Area=", kSwitchHint, CommandKind::None, false, kBothPrograms, "area matching", nullptr,
     CORVELIN_SWITCH(AreaMatching)},
    {"/Height=", kSwitchHint, CommandKind::None, false, kBothPrograms, "height matching", nullptr,
     CORVELIN_SWITCH(HeightMatching)},
    {"/Absolute=", kSwitchHint, CommandKind::None, false, kBothPrograms, "absolute area/height matching", nullptr,
     CORVELIN_SWITCH(AbsoluteAreaHeight)},
    {"/Multi=", kSwitchHint, CommandKind::None, false, kBothPrograms, "multiple matching", nullptr,
     CORVELIN_SWITCH(MultipleMatching)},
    {"/RTRange=", "<text>", CommandKind::None, false, kBothPrograms, "RT search range (\"*\" or \"2-5;7-9\")", nullptr,
     TakeRTRange},
    {"/Subfolders=", kSwitchHint, CommandKind::None, false, kBothPrograms,
     "search the subfolders of the library folder too (\"Search Subfolders\")", nullptr,
     CORVELIN_SWITCH(SearchSubfolders)},
    {"/Weight=", "<0..4>", CommandKind::None, false, kBothPrograms,
     "weighting: none, Area, Height, log(Area), log(Height); other values are refused", nullptr, TakeWeight},
    {"/Threads=", "<n>", CommandKind::None, false, kBothPrograms,
     "compare on n threads (default: one per core); results do not depend on it", nullptr, TakeThreads},
    {"/Save", "", CommandKind::Search, false, kBothPrograms,
     "write the CSV report (also written whenever /Print is not given)", "save the CSV report after a /Search= run",
     [](CKeywordArgument& a) { a.Line.SaveAfterBatch = true; }},
    {"/Print", "", CommandKind::Search, false, kBothPrograms,
     "printing needs the desktop program; here it only suppresses the report",
     "print the hit list after a /Search= run (asks before closing unless /Save)",
     [](CKeywordArgument& a) { a.Line.PrintAfterBatch = true; }},
    {"/Debug", "", CommandKind::None, false, kBothPrograms, "show every argument as it is parsed", nullptr,
     [](CKeywordArgument& a) { a.Line.Debug = true; }},
};

#undef CORVELIN_PATH_FIELD
#undef CORVELIN_SWITCH

// One keyword's help: "  /Name=<hint>" padded to the text column, continuation lines indented to it.
void AppendHelpLine(std::string& out, const CCommandKeyword& keyword, CommandProgram program)
{
    constexpr std::size_t kColumn = 21;
    std::string left = std::string("  ") + keyword.Name + keyword.ValueHint;
    left += left.size() + 1 <= kColumn ? std::string(kColumn - left.size(), ' ') : "\n" + std::string(kColumn, ' ');
    const char* help = program == kDesktopProgram && keyword.DesktopHelp ? keyword.DesktopHelp : keyword.Help;
    out += left;
    for (const char* c = help; *c; ++c) {
        out += *c;
        if (*c == '\n')
            out.append(kColumn, ' ');
    }
    out += '\n';
}

} // namespace

std::string CKeywordArgument::Path() const
{
    std::string value = Value;
    if (!value.empty() && value.back() == '"')
        value.pop_back();
    return value;
}

void CKeywordArgument::Refuse(const std::string& reason, const std::string& kept) const
{
    Line.Refused.push_back(Arg + ": " + reason + "; the value stays " + kept);
}

void CKeywordArgument::Switch(int& field) const
{
    if (const auto n = WholeInteger(Value))
        field = *n != 0 ? 1 : 0;
    else
        Refuse("not a number (0 = off, 1 = on)", std::to_string(field));
}

bool CKeywordArgument::Real(double& field, double low, double high, const char* range) const
{
    const auto v = WholeReal(Value);
    if (v && *v >= low && *v <= high) {
        field = *v;
        return true;
    }
    Refuse(std::string(v ? "out of range" : "not a number") + " (" + range + ")", FormatC("%g", field));
    return false;
}

bool CKeywordArgument::Whole(int& field, long long low, long long high, const char* reason) const
{
    const auto n = WholeInteger(Value);
    if (n && *n >= low && *n <= high) {
        field = static_cast<int>(*n);
        return true;
    }
    Refuse(reason, std::to_string(field));
    return false;
}

void CKeywordArgument::DebugReceived(const char* keyword, const std::string& path) const
{
    if (Debug)
        ShowMessage(FormatC("recieved %s for file '%s'", keyword, path.c_str()), "Corvelinscope debug mode",
                    MessageIcon::Information);
}

bool CCommandKeyword::TakesValue() const noexcept
{
    const std::size_t n = std::strlen(Name);
    return n > 0 && Name[n - 1] == '=';
}

bool CCommandKeyword::Matches(const std::string& arg) const noexcept
{
    if (TakesValue() || std::strcmp(Name, "/Debug") == 0)
        return StartsWithKeyword(arg, Name);
    return arg.size() == std::strlen(Name) && StartsWithKeyword(arg, Name);
}

const std::vector<CCommandKeyword>& CommandKeywords()
{
    return kKeywords;
}

const CCommandKeyword* FindCommandKeyword(const std::string& arg, CommandProgram program) noexcept
{
    for (const CCommandKeyword& keyword : kKeywords)
        if (keyword.AcceptedBy(program) && keyword.Matches(arg))
            return &keyword;
    return nullptr;
}

bool NamesCommand(const std::vector<std::string>& args, std::initializer_list<CommandKind> commands)
{
    for (std::size_t i = 1; i < args.size(); ++i)
        for (const CCommandKeyword& keyword : kKeywords)
            if (keyword.StartsCommand && keyword.Matches(args[i]) &&
                std::find(commands.begin(), commands.end(), keyword.Command) != commands.end())
                return true;
    return false;
}

std::string UsageText(CommandProgram program)
{
    std::string out;
    if (program == kDesktopProgram) {
        out = "usage: corvelinscope [file] [options]\n"
              "       corvelinscope /Search=<unknown> [/Library=<folder>] [options] [/Save] [/Print]\n"
              "       corvelinscope /Convert=<data file> [/MinArea=<percent>] [/Params=<file.spf>]\n"
              "\n"
              "GC-MS chromatogram library search. Without options the main window opens; /Search= and /Convert= "
              "run\n"
              "unattended and close the program when done. Keywords ignore case; options apply in order.\n"
              "  <file>             a file without a keyword: a search parameter file (.spf) is loaded, any other\n"
              "                     file is shown on the \"Add Chromatogram\" page (\"just display\")\n";
    } else {
        out = "usage: corvelinscope-batch /Search=<unknown> [/Library=<folder>] [options] [/Save] [/Print]\n"
              "       corvelinscope-batch /Convert=<data file> [/MinArea=<percent>] [/Params=<file.spf>]\n"
              "       corvelinscope-batch /Display=<data file> [/MinArea=<percent>] [/TIC=<out.csv>]\n"
              "       corvelinscope-batch /PeakTable=<this> /PeakTableOther=<other> [/PeakTableCsv=<file.csv>] "
              "[options]\n"
              "       corvelinscope-batch /MSReport=<data file> [/MSReportCsv=<file.csv>] [/Params=<file.spf>]\n"
              "       corvelinscope-batch /Summary=<out.csv> /SummaryOf=<file or folder> ... [/Params=<file.spf>] "
              "[options]\n"
              "       corvelinscope-batch /MatchMatrix=<this file> /MatrixOther=<other file> [/MatrixCsv=<out.csv>] "
              "[options]\n"
              "       corvelinscope-batch /Unknowns=<folder or list file> [/Library=<folder>] [options] "
              "[/Out=<folder>]\n"
              "       corvelinscope-batch (/Search=<unknown> | /Unknowns=<...>) /Shard=<k>/<n> /Out=<file or folder> "
              "[...]\n"
              "       corvelinscope-batch /Merge=<shard files or folders> ... [/Out=<report file or folder>]\n"
              "\n"
              "The desktop program's command line, run without a window. Keywords ignore case; options apply in "
              "order.\n";
    }
    for (const CCommandKeyword& keyword : kKeywords)
        if (keyword.AcceptedBy(program))
            AppendHelpLine(out, keyword, program);
    if (program == kDesktopProgram) {
        out += "  --help             this text\n"
               "The manual: F1 in the program, or <prefix>/share/corvelinscope/manual/index.html.\n";
    } else {
        out += "Messages go to stderr; Ctrl-C stops a search after the entries in progress and still writes the "
               "report.\n"
               "Exit codes: 0 done, 1 nothing to do, 2 unreadable unknown or file, 3 unknown has too many peaks,\n"
               "            4 report not written, 5 conversion failed, 6 plug-ins not set up, 7 merge refused,\n"
               "            8 internal error (out of memory, an unexpected failure), 130 interrupted.\n"
               "            With /Unknowns=, the code of the first unknown (in list order) that did not end\n"
               "            with 0: an unreadable unknown is named on stderr, the others are searched.\n";
    }
    return out;
}

} // namespace corvelin
