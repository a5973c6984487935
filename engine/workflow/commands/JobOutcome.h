#pragma once
// How a command of the command line ended: the failure (if any), the exit code it maps to, the messages it gave
// and the files it wrote. Failures map to exit codes in one place (ExitCodeOf), so the batch program and the
// desktop program's batch runs cannot disagree.
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/workflow/LibrarySearch.h"

namespace corvelin {

enum class JobFailure {
    None,
    NothingToDo,      // no command, a refused command, nothing to work on
    Unreadable,       // an input could not be read
    TooManyPeaks,     // the unknown has more peaks than MaxPeaks, or a compared file more than kMaxViewPeaks
    ReportNotWritten, // a report or CSV could not be written (also to standard output)
    ConversionFailed,
    NoPlugins,     // the data-system plug-ins could not be set up
    RefusedMerge,  // a merge of partial results was refused
    InternalError, // out of memory or an unexpected exception
    Interrupted,   // stopped from outside (SIGINT); what was found is still reported
};

// The exit code of a failure (BatchExitCode).
CORVELIN_ENGINE_EXPORT int ExitCodeOf(JobFailure failure) noexcept;
// The failure of a library search by how it ended, before its report is written.
CORVELIN_ENGINE_EXPORT JobFailure SearchFailure(LibrarySearchEnd end) noexcept;

struct CORVELIN_ENGINE_EXPORT CJobOutcome {
    JobFailure Failure = JobFailure::None;
    std::vector<std::string> Messages;     // the notes the job gave, in order, without newlines
    std::vector<std::string> FilesWritten; // report, CSV or entry paths

    int ExitCode() const noexcept { return ExitCodeOf(Failure); }
    // Records a failure unless an earlier one is already recorded (the first failure decides the exit code).
    void Fail(JobFailure failure) noexcept
    {
        if (Failure == JobFailure::None)
            Failure = failure;
    }
};

// Where a running job sends what it produces: its product (a CSV, a hit table, a listing; the batch program's
// standard output), its notes for the user (the batch program's standard error) and its progress.
class CORVELIN_ENGINE_EXPORT CJobSink {
public:
    virtual ~CJobSink() = default;
    // Writes part of the product; false when it could not be written.
    virtual bool Output(const std::string& bytes) = 0;
    // Makes everything written so far reach its destination; false when it did not (a full device often shows
    // only here).
    virtual bool FlushOutput() = 0;
    // A line for the user, without its newline.
    virtual void Note(const std::string& line) = 0;
    // Progress of a long job: the number of steps, then one call per step; ProgressDone removes any display.
    virtual void ProgressRange(int /*steps*/) {}
    virtual void ProgressStep() {}
    virtual void ProgressDone() {}
};

} // namespace corvelin
