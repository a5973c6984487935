#include "engine/workflow/commands/ConversionJobs.h"

#include "engine/options/ProgramOptions.h"
#include "engine/platform/PendingTemporaryFile.h"
#include "engine/workflow/Conversion.h"
#include "engine/workflow/commands/NotingSink.h"

namespace corvelin {

namespace {

void OutputTree(const CInfoTree& tree, CJobSink& sink)
{
    std::string out;
    for (const CInfoLine& line : tree) {
        std::string text(static_cast<std::size_t>(line.Depth) * 2, ' ');
        text += line.Text;
        while (!text.empty() && text.back() == '\n')
            text.pop_back();
        out += text + '\n';
    }
    sink.Output(out);
}

} // namespace

CJobOutcome Run(const CConvertRequest& request, std::atomic<bool>&, CJobSink& out)
{
    CJobOutcome outcome;
    CNotingSink sink(out, outcome);
    // The conversion page exists only when the options show it; without it nothing is converted.
    if (!IsPageShown(OptionalPage::ChromatogramAdd)) {
        sink.Note("The \"Add Chromatogram\" page is switched off (ShowPageAdd = 0); nothing was converted.");
        outcome.Fail(JobFailure::NothingToDo);
        return outcome;
    }
    InstallTemporaryFileCleanup(); // Ctrl-C or a kill while the entry is written leaves no temporary file
    CInfoTree tree;
    const bool converted = DisplayAndConvert(request.File, request.MinAreaPercent, false, request.Options, tree);
    OutputTree(tree, sink);
    if (converted)
        outcome.FilesWritten.push_back(LibraryEntryName(request.File));
    else
        outcome.Fail(JobFailure::ConversionFailed);
    return outcome;
}

CJobOutcome Run(const CDisplayRequest& request, std::atomic<bool>&, CJobSink& out)
{
    CJobOutcome outcome;
    CNotingSink sink(out, outcome);
    CInfoTree tree;
    if (!DisplayChromatogram(request.File, request.MinAreaPercent, request.Options, tree))
        outcome.Fail(JobFailure::Unreadable);
    OutputTree(tree, sink);
    return outcome;
}

} // namespace corvelin
