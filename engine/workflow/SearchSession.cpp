#include "engine/workflow/SearchSession.h"

#include "engine/options/ProgramOptions.h"
#include "engine/workflow/CommandLine.h"

namespace corvelin {

CSearchSession::CSearchSession() : LibraryFolder(LoadLastLibraryFolder()), MaxPeaks(LoadMaxPeaks()) {}

void CSearchSession::ApplyCommandLine(const CCommandLine& line)
{
    if (line.IsBatchSearch())
        UnknownPath = line.SearchFile;
    if (!line.LibraryFolder.empty())
        LibraryFolder = line.LibraryFolder;
    SaveAfterBatch = line.SaveAfterBatch;
    PrintAfterBatch = line.PrintAfterBatch;
    Threads = line.Threads;
}

bool CSearchSession::PrepareLibraryFolder()
{
    if (LibraryFolder.empty())
        return false;
    LibraryFolder = WithTrailingSeparator(LibraryFolder);
    return true;
}

CLibrarySearchRequest CSearchSession::Request() const
{
    CLibrarySearchRequest request;
    request.UnknownPath = UnknownPath;
    request.LibraryFolder = LibraryFolder;
    request.MaxPeaks = MaxPeaks;
    request.Threads = Threads;
    return request;
}

CLibrarySearchResult CSearchSession::Run(const CSearchOptions& options, std::atomic<bool>& running,
                                         const CLibrarySearchCallbacks& callbacks) const
{
    return SearchLibrary(Request(), options, running, callbacks);
}

void CSearchSession::Finish(const CLibrarySearchResult& result, CReportTable& hitList, const TextMeasure& measure) const
{
    FinishHitList(result, UnknownPath, hitList, measure);
}

CLibrarySearchResult CSearchSession::RunIntoHitList(const CSearchOptions& options, std::atomic<bool>& running,
                                                    CReportTable& hitList, const CLibrarySearchCallbacks& callbacks,
                                                    const TextMeasure& measure) const
{
    return SearchLibraryIntoHitList(Request(), options, running, hitList, callbacks, measure);
}

CSearchReport CSearchSession::Report(const std::string& sampleName, const std::string& peakCountText) const
{
    CSearchReport report;
    report.UnknownPath = UnknownPath;
    report.SampleName = sampleName;
    report.PeakCountText = peakCountText;
    report.LibraryFolder = LibraryFolder;
    return report;
}

} // namespace corvelin
