#include "engine/scaleout/UnknownsSearch.h"

#include <memory>

#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/MessageSink.h"

namespace corvelin {

CUnknownsSearchResult SearchUnknowns(const CUnknownsSearchRequest& request, const CSearchOptions& options,
                                     std::atomic<bool>& running, const UnknownRowReceiver& row,
                                     const CLibrarySearchCallbacks& progress)
{
    CUnknownsSearchResult out;
    std::vector<std::unique_ptr<CLibraryChromatogram>> read;
    std::vector<const CLibraryChromatogram*> scanned; // the readable unknowns
    std::vector<std::size_t> scannedUnknown;          // their positions in UnknownPaths
    for (std::size_t u = 0; u < request.UnknownPaths.size(); ++u) {
        CSearchUnknown unknown = ReadSearchUnknown(request.UnknownPaths[u], options, request.MaxPeaks);
        out.Unknowns.push_back(std::move(unknown.Result));
        if (unknown.Chromatogram) {
            scanned.push_back(unknown.Chromatogram.get());
            scannedUnknown.push_back(u);
            read.push_back(std::move(unknown.Chromatogram));
        }
    }

    out.Entries = ListLibraryEntries(request.LibraryFolder, options.SearchSubfolders != 0);
    std::vector<CLibraryEntryFile> searched;
    for (std::size_t i = 0; i < out.Entries.size(); ++i)
        if (ShardOfEntry(RelativeEntryPath(out.Entries[i].FileCell), request.Shard.Count) == request.Shard.Index) {
            out.Searched.push_back(i);
            searched.push_back(out.Entries[i]);
        }
    const int count = static_cast<int>(searched.size());
    for (std::size_t u : scannedUnknown)
        out.Unknowns[u].EntryCount = count;
    if (progress.ProgressRange)
        progress.ProgressRange(count % 65536);

    if (!scanned.empty()) {
        const CLibraryScanCount scan =
            ScanLibraryEntries(searched, scanned, options, request.MaxPeaks, request.Threads, running,
                               [&](std::size_t index, std::vector<CEntryRow>&& rows) {
                                   if (progress.Progress)
                                       progress.Progress(searched[index].PositionInFolder);
                                   bool beep = false;
                                   for (std::size_t s = 0; s < rows.size(); ++s) {
                                       beep = beep || rows[s].Beep;
                                       if (row)
                                           row(scannedUnknown[s], out.Searched[index], std::move(rows[s].Cells));
                                   }
                                   if (beep)
                                       Messages().Beep();
                               });
        out.EntriesRead = scan.EntriesRead;
        for (std::size_t u : scannedUnknown) {
            out.Unknowns[u].RowCount = scan.Delivered;
            out.Unknowns[u].End = scan.Delivered < count ? LibrarySearchEnd::Stopped : LibrarySearchEnd::Completed;
        }
    }
    running.store(false);
    return out;
}

} // namespace corvelin
