#include "batch/BatchProgram.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <exception>

#include "batch/HitTablePrinter.h"
#include "batch/ProgressBar.h"
#include "batch/StderrMessageSink.h"
#include "batch/SummaryExport.h"
#include "batch/ViewExports.h"
#include "engine/options/SearchOptions.h"
#include "engine/options/SearchParameterFile.h"
#include "engine/options/ProgramOptions.h"
#include "engine/platform/PendingTemporaryFile.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/table/ReportTable.h"
#include "engine/workflow/CommandLine.h"
#include "engine/workflow/Conversion.h"
#include "engine/workflow/HitList.h"
#include "engine/workflow/LibraryFolderCheck.h"
#include "engine/workflow/LibrarySearch.h"
#include "engine/workflow/NistExport.h"
#include "engine/workflow/RunDisplay.h"
#include "engine/workflow/SearchReport.h"
#include "engine/workflow/SearchSession.h"

namespace corvelin {

namespace {

constexpr const char* kUsage =
    "usage: corvelinscope-batch /Search=<unknown> [/Library=<folder>] [options] [/Save] [/Print]\n"
    "       corvelinscope-batch /Convert=<data file> [/MinArea=<percent>] [/Params=<file.spf>]\n"
    "       corvelinscope-batch /Display=<data file> [/MinArea=<percent>] [/TIC=<out.csv>]\n"
    "       corvelinscope-batch /PeakTable=<this> /PeakTableOther=<other> [/PeakTableCsv=<file.csv>] [options]\n"
    "       corvelinscope-batch /MSReport=<data file> [/MSReportCsv=<file.csv>] [/Params=<file.spf>]\n"
    "       corvelinscope-batch /Summary=<out.csv> /SummaryOf=<file or folder> ... [/Params=<file.spf>] [options]\n"
    "       corvelinscope-batch /MatchMatrix=<this file> /MatrixOther=<other file> [/MatrixCsv=<out.csv>] [options]\n"
    "\n"
    "The desktop program's command line, run without a window. Keywords ignore case; options apply in order.\n"
    "  /Search=<file>     search the library with this unknown chromatogram; the hit list goes to stdout and\n"
    "                     the CSV report next to the unknown (\"<unknown minus 4 chars> YYYY-MM-DD HH-MM.csv\")\n"
    "  /Library=<folder>  library folder (default: setting LastFolder of section LibrarySearch)\n"
    "  /Convert=<file>    convert a data file into a library entry beside it (\"Display && Convert\")\n"
    "  /Display=<file>    print what a data file holds (\"just display\") without converting\n"
    "  /TIC=<file>        with /Display= of a raw run: its total-ion chromatogram and the peaks a conversion\n"
    "                     finds, as CSV (\"Time (min)\",\"TIC\" rows, an empty line, then one row per peak)\n"
    "  /PeakTable=<file>  peak match table of this file against /PeakTableOther=<file>, as the CSV of the\n"
    "                     page's \"CSV-Export\" (to /PeakTableCsv=<file>, else stdout); compare options as given\n"
    "  /MSReport=<file>   mass spec match report of the file against the marked spectra of the parameter file's\n"
    "                     spectral list, as CSV (to /MSReportCsv=<file>, else stdout)\n"
    "  /MatchMatrix=<file> /MatrixOther=<file>   the match matrix of two files (\"this\" and \"other\"): its\n"
    "                     table as CSV to /MatrixCsv=<file>, else to stdout\n"
    "  /Params=<file>     load a search parameter file at this position\n"
    "  /MinArea=<real>    area threshold (%) on; minimum peak area of a conversion given after /Convert=\n"
    "  /SWnd=<real>       RT window width        /RIWnd=<real>    RI window width\n"
    "  /MS= /RT= /RI= /Area= /Height= /Absolute= /Multi=<0|1>   matching switches\n"
    "  /RTRange=<text>    RT search range (\"*\" or \"2-5;7-9\")\n"
    "  /Subfolders=<0|1>  search the subfolders of the library folder too (\"Search Subfolders\")\n"
    "  /Weight=<0..4>     weighting: none, Area, Height, log(Area), log(Height); other values are refused\n"
    "  /Summary=<file>    write the multi-file peak summary CSV of the /SummaryOf= inputs (Show and ISTD options\n"
    "                     from the /Params= file, as on the desktop page)\n"
    "  /SummaryOf=<path>  a chromatogram file, or a folder (its files that a plug-in reads, by name); repeatable\n"
    "  /Threads=<n>       compare on n threads (default: one per core); results do not depend on it\n"
    "  /Save              write the CSV report (also written whenever /Print is not given)\n"
    "  /Print             printing needs the desktop program; here it only suppresses the report\n"
    "  /Debug             show every argument as it is parsed\n"
    "Messages go to stderr; Ctrl-C stops a search after the entries in progress and still writes the report.\n"
    "Exit codes: 0 done, 1 nothing to do, 2 unreadable unknown or file, 3 unknown has too many peaks,\n"
    "            4 report not written, 5 conversion failed, 6 plug-ins not set up, 130 interrupted.\n";

std::atomic<bool> g_running{false};
std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int)
{
    // Atomic stores of lock-free atomics are async-signal-safe. A second Ctrl-C ends the program at once.
    g_interrupted.store(true);
    g_running.store(false);
    std::signal(SIGINT, SIG_DFL);
}

// Ctrl-C stops the search while this lives: from the search's start until its report is written, so a stop
// after the last entry (while the table and the report are written) still ends with the report. The previous
// handling comes back at the end.
class InterruptHandling {
public:
    InterruptHandling()
    {
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &m_previous);
    }
    ~InterruptHandling() { ::sigaction(SIGINT, &m_previous, nullptr); }
    InterruptHandling(const InterruptHandling&) = delete;
    InterruptHandling& operator=(const InterruptHandling&) = delete;

private:
    struct sigaction m_previous {};
};

void PrintTree(const CInfoTree& tree)
{
    for (const CInfoLine& line : tree) {
        std::string text(static_cast<std::size_t>(line.Depth) * 2, ' ');
        text += line.Text;
        while (!text.empty() && text.back() == '\n')
            text.pop_back();
        std::printf("%s\n", text.c_str());
    }
}

// The value of the last argument with this keyword (a closing quote dropped), empty when none.
std::string KeywordArgument(const std::vector<std::string>& args, const std::string& keyword)
{
    std::string file;
    for (std::size_t i = 1; i < args.size(); ++i)
        if (StartsWithKeyword(args[i], keyword.c_str())) {
            file = args[i].substr(keyword.size());
            if (!file.empty() && file.back() == '"')
                file.pop_back();
        }
    return file;
}

std::string DisplayValue(const std::vector<std::string>& args)
{
    return KeywordArgument(args, "/Display=");
}

int RunSearch(const CCommandLine& line, const CSearchOptions& options)
{
    CSearchSession session;
    session.ApplyCommandLine(line);
    if (!session.PrepareLibraryFolder()) {
        // The desktop page would refuse too; unattended, the root folder is never what was meant.
        std::fprintf(stderr, "No library folder: give /Library=<folder> (or set LastFolder of section "
                             "LibrarySearch).\n");
        return kExitNothingToDo;
    }
    // A folder that is not there would give an empty report that looks like an empty library.
    if (const std::string problem = LibraryFolderProblem(session.LibraryFolder); !problem.empty()) {
        std::fprintf(stderr, "%s No search was run and no report written.\n", problem.c_str());
        return kExitNothingToDo;
    }

    CReportTable hits;
    SetUpHitListColumns(hits);
    ProgressBar bar;
    if (auto* sink = dynamic_cast<StderrMessageSink*>(&Messages()))
        sink->SetBeforeWrite(&ProgressBar::ClearHook, &bar);
    CLibrarySearchCallbacks callbacks;
    callbacks.ProgressRange = [&](int range) { bar.SetRange(range); };
    callbacks.Row = [&](const std::vector<std::string>&) { bar.Step(); };

    g_running.store(true);
    const InterruptHandling interrupts;
    const CLibrarySearchResult result = session.RunIntoHitList(
        options, g_running, hits, callbacks, [](const std::string& s) { return static_cast<int>(s.size()) * 7; });
    bar.Clear();
    if (auto* sink = dynamic_cast<StderrMessageSink*>(&Messages()))
        sink->SetBeforeWrite(nullptr, nullptr);

    if (result.End == LibrarySearchEnd::UnknownTooManyPeaks)
        std::fprintf(stderr,
                     "%s\nThe limit is MaxPeaks = %d. Raise \"Max. Peaks:\" in the program options of the desktop "
                     "program, or leave out small peaks with /MinArea=<percent>.\n",
                     result.FailureText.c_str(), session.MaxPeaks);
    if (hits.RowCount() == 0)
        std::fprintf(stderr, "%s\n", hits.EmptyText().c_str());
    else
        std::fputs(FormatAlignedTable(hits).c_str(), stdout);
    std::fflush(stdout);

    int code = BatchSearchExitCode(result.End);
    std::string stoppedLine;
    if (result.End == LibrarySearchEnd::Stopped) {
        stoppedLine = StoppedSearchLine(result.RowCount, result.EntryCount);
        std::fprintf(stderr, "%s.\n", stoppedLine.c_str());
    }

    if (session.PrintsAtBatchEnd())
        std::fprintf(stderr, "/Print: printing needs the desktop program (corvelinscope); nothing was printed.\n");
    if (session.SavesAtBatchEnd()) {
        CSearchReport report = session.Report(result.Unknown.SampleName, result.Unknown.PeakCountText);
        report.StoppedLine = stoppedLine;
        std::string path;
        if (WriteSearchReport(report, options, hits, &path))
            std::fprintf(stderr, "Report written to %s\n", path.c_str());
        else if (code == kExitOk)
            code = kExitReportFailed;
    } else {
        std::fprintf(stderr, "Your results have not been saved (/Print without /Save).\n");
    }
    // Ctrl-C at any time up to here (also after the last entry) gives 130; the report was written all the same.
    if (code == kExitOk && g_interrupted.load())
        code = kExitInterrupted;
    return code;
}

int RunConversion(const CCommandLine& line, const CSearchOptions& options)
{
    // The conversion page exists only when the options show it; without it nothing is converted.
    if (!IsPageShown(OptionalPage::ChromatogramAdd)) {
        std::fprintf(stderr, "The \"Add Chromatogram\" page is switched off (ShowPageAdd = 0); nothing was "
                             "converted.\n");
        return kExitNothingToDo;
    }
    InstallTemporaryFileCleanup(); // Ctrl-C or a kill while the entry is written leaves no temporary file
    CInfoTree tree;
    const bool converted =
        DisplayAndConvert(line.ConvertFile, line.MinAreaOn ? line.MinArea : 0.0, false, options, tree);
    PrintTree(tree);
    return converted ? kExitOk : kExitConversionFailed;
}

} // namespace

int RunBatchProgram(const std::vector<std::string>& args)
{
    for (std::size_t i = 1; i < args.size(); ++i)
        if (args[i] == "--help" || args[i] == "-h" || args[i] == "/?") {
            std::fputs(kUsage, stdout);
            return kExitOk;
        }

    StderrMessageSink sink;
    SetMessageSink(&sink);
    int code = kExitOk;
    try {
        CSearchOptions startup;
        startup.LoadLastUsed("Global");
        try {
            CreateDatasystemPlugins();
        } catch (const std::exception&) {
            SetMessageSink(nullptr);
            return kExitNoPlugins;
        }
        const CCommandLine line = ParseCommandLine(args, startup, [](const std::string& path, CSearchOptions& options) {
            if (!ReadParameterFile(options, path))
                std::fprintf(stderr, "The search parameter file '%s' could not be read; defaults were used.\n",
                             path.c_str());
        });
        for (const std::string& refused : line.Refused)
            std::fprintf(stderr, "Ignored %s\n", refused.c_str());

        const std::string display = DisplayValue(args);
        if (IsSummaryRequest(args)) {
            code = RunSummaryExport(args, startup, line.Threads);
        } else if (line.IsBatchSearch()) {
            code = RunSearch(line, startup);
        } else if (line.IsBatchConversion()) {
            code = RunConversion(line, startup);
        } else if (IsViewExport(args)) {
            code = RunViewExport(args, startup);
        } else if (!display.empty() && !KeywordArgument(args, "/TIC=").empty()) {
            code = ExportRunTic(display, KeywordArgument(args, "/TIC="), line.MinAreaOn ? line.MinArea : 0.0);
        } else if (!display.empty()) {
            CInfoTree tree;
            const bool read = DisplayChromatogram(display, line.MinAreaOn ? line.MinArea : 0.0, startup, tree);
            PrintTree(tree);
            code = read ? kExitOk : kExitUnreadable;
        } else {
            std::fputs(kUsage, stderr);
            code = kExitNothingToDo;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "corvelinscope-batch: %s\n", e.what());
        code = kExitNothingToDo;
    }
    SetDatasystemPlugins(nullptr);
    DeleteNistTemporaryFiles();
    SetMessageSink(nullptr);
    return code;
}

} // namespace corvelin
