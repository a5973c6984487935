#include "engine/workflow/commands/JobOutcome.h"

#include "engine/workflow/BatchExitCode.h"

namespace corvelin {

int ExitCodeOf(JobFailure failure) noexcept
{
    switch (failure) {
    case JobFailure::None:
        return kExitOk;
    case JobFailure::NothingToDo:
        return kExitNothingToDo;
    case JobFailure::Unreadable:
        return kExitUnreadable;
    case JobFailure::TooManyPeaks:
        return kExitTooManyPeaks;
    case JobFailure::ReportNotWritten:
        return kExitReportFailed;
    case JobFailure::ConversionFailed:
        return kExitConversionFailed;
    case JobFailure::NoPlugins:
        return kExitNoPlugins;
    case JobFailure::RefusedMerge:
        return kExitRefusedMerge;
    case JobFailure::InternalError:
        return kExitInternalError;
    case JobFailure::Interrupted:
        return kExitInterrupted;
    }
    return kExitInternalError;
}

JobFailure SearchFailure(LibrarySearchEnd end) noexcept
{
    switch (end) {
    case LibrarySearchEnd::UnknownUnreadable:
        return JobFailure::Unreadable;
    case LibrarySearchEnd::UnknownTooManyPeaks:
    case LibrarySearchEnd::UnknownBeyondBound:
        return JobFailure::TooManyPeaks;
    case LibrarySearchEnd::Completed:
    case LibrarySearchEnd::Stopped:
        break;
    }
    return JobFailure::None;
}

} // namespace corvelin
