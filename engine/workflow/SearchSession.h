#pragma once
// One library search as the desktop page and the batch program both run it: set up from the page's fields or
// the command line plus the program options, run, its hit list finished, its report record made, and what a
// batch run does at its end. Both programs go through here, so their hit lists and reports cannot drift apart.
#include <atomic>
#include <string>

#include "engine/core/EngineExport.h"
#include "engine/workflow/HitList.h"
#include "engine/workflow/LibrarySearch.h"
#include "engine/workflow/SearchReport.h"

namespace corvelin {

struct CCommandLine;

class CORVELIN_ENGINE_EXPORT CSearchSession {
public:
    // The start values: the library folder of the setting "LastFolder" and the peak limit "MaxPeaks".
    CSearchSession();

    std::string UnknownPath;
    std::string LibraryFolder;
    int MaxPeaks;
    int Threads = 0; // 0 = one per core; the rows do not depend on it
    bool SaveAfterBatch = false;
    bool PrintAfterBatch = false;

    // Takes what the command line set: the unknown of "/Search=", the folder of "/Library=" when given, the
    // "/Save" and "/Print" flags and "/Threads=".
    void ApplyCommandLine(const CCommandLine& line);

    // Adds the trailing separator the search starts with. False, changing nothing, when there is no folder:
    // it would become "/" and the search would walk the whole file system.
    bool PrepareLibraryFolder();
    CLibrarySearchRequest Request() const;

    // Runs the search on the calling thread (see SearchLibrary); rows go to the callbacks only.
    CLibrarySearchResult Run(const CSearchOptions& options, std::atomic<bool>& running,
                             const CLibrarySearchCallbacks& callbacks) const;
    // The end of the search on the hit list that received the rows of Run (see FinishHitList).
    void Finish(const CLibrarySearchResult& result, CReportTable& hitList, const TextMeasure& measure) const;
    // Run and Finish on a hit list that receives the rows itself (see SearchLibraryIntoHitList).
    CLibrarySearchResult RunIntoHitList(const CSearchOptions& options, std::atomic<bool>& running,
                                        CReportTable& hitList, const CLibrarySearchCallbacks& callbacks,
                                        const TextMeasure& measure) const;

    // The CSV report record, with the unknown's sample name and peak count as displayed.
    CSearchReport Report(const std::string& sampleName, const std::string& peakCountText) const;

    // The end of a batch search: print when "/Print" was given; save when "/Save" was given or "/Print" was not.
    bool PrintsAtBatchEnd() const noexcept { return PrintAfterBatch; }
    bool SavesAtBatchEnd() const noexcept { return SaveAfterBatch || !PrintAfterBatch; }
};

} // namespace corvelin
