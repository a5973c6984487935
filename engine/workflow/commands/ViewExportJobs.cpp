#include "engine/workflow/commands/ViewExportJobs.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/PendingTemporaryFile.h"
#include "engine/platform/TextFile.h"
#include "engine/table/ReportTable.h"
#include "engine/views/MassSpecReport.h"
#include "engine/views/MatchMatrix.h"
#include "engine/views/PeakMatchTable.h"
#include "engine/views/SummaryInputs.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/workflow/RunDisplay.h"
#include "engine/workflow/commands/NotingSink.h"

namespace corvelin {

namespace {

// Writes the text-mode bytes to the file, or to the sink's output when no file is named. A file that is one of
// the inputs is never replaced.
void Emit(const std::string& file, const std::string& text, CJobSink& sink, CJobOutcome& outcome,
          const std::vector<std::string>& inputs)
{
    if (!file.empty() && IsOneOfTheFiles(file, inputs)) {
        sink.Note(FormatC("The CSV %s would replace one of its inputs; nothing was written.", file.c_str()));
        outcome.Fail(JobFailure::ReportNotWritten);
        return;
    }
    if (file.empty()) {
        if (!sink.Output(TextModeBytes(text)) || !sink.FlushOutput()) {
            sink.Note(std::string("Could not write to standard output: ") + std::strerror(errno));
            outcome.Fail(JobFailure::ReportNotWritten);
        }
        return;
    }
    InstallTemporaryFileCleanup(); // Ctrl-C or a kill while the CSV is written leaves no temporary file
    try {
        WriteTextFile(file, text);
        outcome.FilesWritten.push_back(file);
    } catch (const std::exception& e) {
        sink.Note("Could not write " + file + ": " + e.what());
        outcome.Fail(JobFailure::ReportNotWritten);
    }
}

// Whether the view was built; otherwise the failure: an unreadable input, an input beyond the views' peak limit,
// or a refused one (nothing to do).
template <class End>
bool Built(End end, End built, End unreadable, CJobOutcome& outcome, std::optional<End> tooManyPeaks = std::nullopt)
{
    if (end == built)
        return true;
    if (end == unreadable)
        outcome.Fail(JobFailure::Unreadable);
    else if (tooManyPeaks && end == *tooManyPeaks)
        outcome.Fail(JobFailure::TooManyPeaks);
    else
        outcome.Fail(JobFailure::NothingToDo);
    return false;
}

} // namespace

CJobOutcome Run(const CPeakTableRequest& request, std::atomic<bool>&, CJobSink& out)
{
    CJobOutcome outcome;
    CNotingSink sink(out, outcome);
    CPeakMatchTable model;
    CReportTable table;
    SetUpPeakMatchColumns(table);
    using End = CPeakMatchTable::Outcome;
    if (Built(model.Build(request.This, request.Other, request.Options, table), End::Built, End::Unreadable, outcome,
              std::optional(End::TooManyPeaks)))
        Emit(request.Csv, PeakMatchCsvText(model.This(), model.Other(), request.Options, table), sink, outcome,
             {request.This, request.Other});
    return outcome;
}

CJobOutcome Run(const CMSReportRequest& request, std::atomic<bool>&, CJobSink& out)
{
    CJobOutcome outcome;
    CNotingSink sink(out, outcome);
    CReportTable table;
    SetUpMassSpecReportColumns(table);
    using End = MassSpecReportOutcome;
    if (Built(BuildMassSpecReport(request.File, request.Options, table), End::Built, End::Unreadable, outcome))
        Emit(request.Csv, MassSpecReportCsvText(table), sink, outcome, {request.File});
    return outcome;
}

CJobOutcome Run(const CMatchMatrixRequest& request, std::atomic<bool>&, CJobSink& out)
{
    CJobOutcome outcome;
    CNotingSink sink(out, outcome);
    if (request.This.empty() || request.Other.empty()) {
        sink.Note("A match matrix needs both files: /MatchMatrix=<this file> /MatrixOther=<other file>");
        outcome.Fail(JobFailure::NothingToDo);
        return outcome;
    }
    CMatchMatrix matrix;
    // A matrix that is not built has an input that could not be read (or lacks the RI calibration), or one beyond
    // the peak limit.
    const MatchMatrixBuildEnd end = BuildMatchMatrix(request.This, request.Other, request.Options, matrix);
    if (end == MatchMatrixBuildEnd::Built)
        Emit(request.Csv, MatchMatrixCsv(matrix), sink, outcome, {request.This, request.Other});
    else
        outcome.Fail(end == MatchMatrixBuildEnd::TooManyPeaks ? JobFailure::TooManyPeaks : JobFailure::Unreadable);
    return outcome;
}

CJobOutcome Run(const CTicRequest& request, std::atomic<bool>&, CJobSink& out)
{
    CJobOutcome outcome;
    CNotingSink sink(out, outcome);
    if (request.Run.empty()) {
        sink.Note("The TIC needs the run: /Display=<run> /TIC=<out.csv>");
        outcome.Fail(JobFailure::NothingToDo);
        return outcome;
    }
    std::optional<CRunDisplay> display;
    try {
        display = ReadRunDisplay(DatasystemPlugins(), request.Run, request.MinAreaPercent, true);
    } catch (const std::exception&) {
        outcome.Fail(JobFailure::Unreadable); // the reason was shown where it was found
        return outcome;
    }
    if (!display) {
        sink.Note("'" + request.Run + "' holds no scan run (it is a peak list): there is no TIC to write.");
        outcome.Fail(JobFailure::Unreadable);
        return outcome;
    }
    Emit(request.Csv, RunDisplayCsv(*display), sink, outcome, {request.Run});
    return outcome;
}

} // namespace corvelin
