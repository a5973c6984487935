#include "engine/workflow/LibrarySearch.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <filesystem>
#include <optional>

#include "engine/compare/LibraryEntryComparer.h"
#include "engine/compare/LibraryHit.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/table/ColumnArrangement.h"
#include "engine/table/ReportTable.h"
#include "engine/workflow/CommandLine.h"
#include "engine/workflow/HitList.h"
#include "engine/workflow/InputReader.h"
#include "engine/workflow/OrderedRunner.h"

namespace fs = std::filesystem;

namespace corvelin {

namespace {

constexpr const char* kEntryExtension = ".ChromLibEntry";
bool HasEntryExtension(const std::string& name)
{
    const std::size_t n = std::char_traits<char>::length(kEntryExtension);
    if (name.size() < n)
        return false;
    return StartsWithKeyword(name.substr(name.size() - n), kEntryExtension);
}

// Why a directory item named like an entry is not a file an entry can be read from; "" when it is one (a regular
// file, or a link to one). Such items get a warning row instead of being passed over without a word.
std::string NotAnEntryFileReason(const fs::directory_entry& item)
{
    std::error_code ec;
    const fs::file_status target = item.status(ec); // follows links
    if (item.is_symlink(ec) || fs::is_symlink(item.symlink_status(ec))) {
        if (!fs::exists(target))
            return ec.value() == ELOOP ? "a looping symbolic link" : "a broken symbolic link";
    }
    switch (target.type()) {
    case fs::file_type::regular:
        return {};
    case fs::file_type::directory:
        return "a folder";
    case fs::file_type::block:
    case fs::file_type::character:
        return "a device";
    case fs::file_type::fifo:
    case fs::file_type::socket:
        return "a pipe or socket";
    case fs::file_type::not_found:
        return ec.value() == ELOOP ? "a looping symbolic link" : "a broken symbolic link";
    default:
        return "not a regular file";
    }
}

// folder ends with a separator; prefix is the relative prefix of its rows.
void ListFolder(const std::string& folder, const std::string& prefix, bool subfolders,
                std::vector<CLibraryEntryFile>& out, int depth)
{
    std::vector<std::pair<std::string, std::string>> files; // name, why it is not a readable file ("" = it is)
    std::vector<std::string> folders;
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(folder), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        // Folder links are not followed, so a link back to a parent cannot make the scan endless.
        const bool folderToScan = subfolders && !it->is_symlink(typeError) && it->is_directory(typeError);
        if (HasEntryExtension(name) && !folderToScan)
            files.emplace_back(name, NotAnEntryFileReason(*it));
        else if (folderToScan)
            folders.push_back(name);
    }
    std::sort(files.begin(), files.end());
    std::sort(folders.begin(), folders.end());
    int position = 0;
    for (const auto& [name, problem] : files)
        out.push_back({folder + name, prefix + name, ++position, problem});
    if (depth >= 256)
        return;
    for (const std::string& name : folders)
        ListFolder(folder + name + "/", (prefix.empty() ? std::string("./") : prefix) + name + "/", subfolders, out,
                   depth + 1);
}

// One worker's reusable state: its entry chromatogram and its cell table (grown to the largest n needed,
// never beyond MaxPeaks x MaxPeaks). An entry is read and its spectra prepared once for all unknowns.
class EntryComparer {
public:
    EntryComparer(const std::vector<const CLibraryChromatogram*>& unknowns, const CSearchOptions& options, int maxPeaks)
        : m_unknownCount(unknowns.size()), m_comparer(unknowns, options, maxPeaks)
    {
    }

    // The rows of the entry, one per unknown in the unknowns' order.
    std::vector<CEntryRow> Compare(const CLibraryEntryFile& file)
    {
        std::vector<CEntryRow> rows(m_unknownCount);
        if (!file.NotAFile.empty()) {
            for (CEntryRow& row : rows)
                row.Cells = NotAFileEntryRowCells(file.FileCell, file.NotAFile);
            return rows;
        }
        bool loaded = false;
        bool lacksRI = false;
        try {
            ++m_entriesRead;
            loaded = m_comparer.Read(file.Path);
            lacksRI = loaded && m_comparer.EntryLacksRI();
        } catch (const std::exception&) {
            loaded = false;
        }
        for (std::size_t u = 0; u < m_unknownCount; ++u)
            rows[u] = loaded ? CompareWith(u, file) : CEntryRow{UnreadableEntryRowCells(file.FileCell), false};
        for (CEntryRow& row : rows)
            row.LacksRI = lacksRI;
        return rows;
    }

    long long EntriesRead() const noexcept { return m_entriesRead; }

private:
    CEntryRow CompareWith(std::size_t u, const CLibraryEntryFile& file)
    {
        CEntryRow row;
        try {
            CLibraryHit hit;
            switch (m_comparer.CompareWith(u, hit)) {
            case EntryOutcome::Unreadable:
                row.Cells = UnreadableEntryRowCells(file.FileCell);
                break;
            case EntryOutcome::TooManyPeaks:
                row.Cells = TooManyPeaksRowCells(file.FileCell, m_comparer.Entry());
                row.Beep = true;
                break;
            case EntryOutcome::Compared:
                row.Cells = HitRowCells(file.FileCell, m_comparer.Entry(), hit);
                break;
            }
        } catch (const std::exception&) {
            row.Cells = UnreadableEntryRowCells(file.FileCell);
            row.Beep = false;
        }
        return row;
    }

    std::size_t m_unknownCount;
    CLibraryEntryComparer m_comparer;
    long long m_entriesRead = 0;
};

using EntryRows = std::vector<CEntryRow>;

// Compares the entries on the runner's threads, each with a comparer of its own, and delivers the rows in scan
// order on the calling thread. An entry whose comparison throws gives the row of an unreadable entry.
CLibraryScanCount ScanEntries(const std::vector<CLibraryEntryFile>& files,
                              const std::vector<const CLibraryChromatogram*>& unknowns, const CSearchOptions& options,
                              int maxPeaks, unsigned threads, std::atomic<bool>& running,
                              const LibraryEntryRowsReceiver& deliver)
{
    std::vector<std::optional<EntryComparer>> comparers(threads);
    CLibraryScanCount count;
    count.Delivered = static_cast<int>(RunInOrder<EntryRows>(
        files.size(), threads, running,
        [&](std::size_t i, unsigned worker) {
            if (!comparers[worker])
                comparers[worker].emplace(unknowns, options, maxPeaks);
            return comparers[worker]->Compare(files[i]);
        },
        [&](std::size_t i, const std::string&) {
            return EntryRows(unknowns.size(), CEntryRow{UnreadableEntryRowCells(files[i].FileCell), false});
        },
        [&](std::size_t i, EntryRows&& rows) { deliver(i, std::move(rows)); }));
    for (const std::optional<EntryComparer>& comparer : comparers)
        if (comparer)
            count.EntriesRead += comparer->EntriesRead();
    return count;
}

} // namespace

std::vector<CLibraryEntryFile> ListLibraryEntries(const std::string& folder, bool subfolders)
{
    std::vector<CLibraryEntryFile> out;
    ListFolder(WithTrailingSeparator(folder), std::string(), subfolders, out, 0);
    return out;
}

CSearchUnknown ReadSearchUnknown(const std::string& path, const CSearchOptions& options, int maxPeaks,
                                 const std::function<void(const CUnknownInfo&)>& onRead)
{
    CSearchUnknown out;
    CLibrarySearchResult& result = out.Result;
    auto unknown = std::make_unique<CLibraryChromatogram>();
    const CInputRead read = ReadInput(path, options, InputUse::SearchUnknown, *unknown);
    if (!read.Read) {
        result.End = read.Code == EFBIG ? LibrarySearchEnd::UnknownBeyondBound : LibrarySearchEnd::UnknownUnreadable;
        result.FailureText = ReadFailureText(InputUse::SearchUnknown, path);
        return out;
    }
    out.RIUnknown = read.RIUnknown;
    result.Unknown.PeakCount = unknown->PeakCount;
    result.Unknown.PeakCountText = FormatC("%2i", unknown->PeakCount);
    result.Unknown.SampleName = unknown->SampleName;
    result.Unknown.DataSystemName = read.DataSystemName;
    if (onRead)
        onRead(result.Unknown);

    if (unknown->PeakCount > maxPeaks) {
        result.End = LibrarySearchEnd::UnknownTooManyPeaks;
        result.FailureText = FormatC("Warning: Unknown file %s has %2i peaks which are too many to be comparable!",
                                     path.c_str(), unknown->PeakCount);
        Messages().Beep();
        return out;
    }
    out.Chromatogram = std::move(unknown);
    return out;
}

CLibraryScanCount ScanLibraryEntries(const std::vector<CLibraryEntryFile>& entries,
                                     const std::vector<const CLibraryChromatogram*>& unknowns,
                                     const CSearchOptions& options, int maxPeaks, int threadCount,
                                     std::atomic<bool>& running, const LibraryEntryRowsReceiver& deliver)
{
    return ScanEntries(entries, unknowns, options, maxPeaks, RunnerThreads(threadCount, entries.size()), running,
                       deliver);
}

void DeliverEntryRow(const CLibrarySearchCallbacks& callbacks, const CLibraryEntryFile& file, CEntryRow&& row)
{
    if (callbacks.Progress)
        callbacks.Progress(file.PositionInFolder);
    if (row.Beep)
        Messages().Beep();
    if (callbacks.Row)
        callbacks.Row(std::move(row.Cells));
}

CLibrarySearchResult SearchLibrary(const CLibrarySearchRequest& request, const CSearchOptions& options,
                                   std::atomic<bool>& running, const CLibrarySearchCallbacks& callbacks)
{
    CSearchUnknown unknown = ReadSearchUnknown(request.UnknownPath, options, request.MaxPeaks, callbacks.Unknown);
    CLibrarySearchResult result = std::move(unknown.Result);
    if (!unknown.Chromatogram) {
        running.store(false);
        return result;
    }

    const std::vector<CLibraryEntryFile> files =
        ListLibraryEntries(request.LibraryFolder, options.SearchSubfolders != 0);
    result.EntryCount = static_cast<int>(files.size());
    if (callbacks.ProgressRange)
        callbacks.ProgressRange(result.EntryCount % 65536);

    int entriesLackingRI = 0;
    const std::vector<const CLibraryChromatogram*> unknowns = {unknown.Chromatogram.get()};
    result.RowCount = ScanLibraryEntries(files, unknowns, options, request.MaxPeaks, request.Threads, running,
                                         [&](std::size_t index, std::vector<CEntryRow>&& rows) {
                                             entriesLackingRI += rows.front().LacksRI ? 1 : 0;
                                             DeliverEntryRow(callbacks, files[index], std::move(rows.front()));
                                         })
                          .Delivered;
    result.End = result.RowCount < result.EntryCount ? LibrarySearchEnd::Stopped : LibrarySearchEnd::Completed;
    // The RI match values stay as computed; the user learns that they mean nothing where RI values are missing.
    std::string warning = unknown.RIUnknown ? RIWarningForFile(request.UnknownPath) : std::string();
    if (entriesLackingRI > 0)
        warning += (warning.empty() ? "" : "\n\n") + RIWarningForEntries(entriesLackingRI, result.RowCount);
    if (!warning.empty())
        ShowMessage(warning, "Corvelinscope", MessageIcon::Exclamation);
    running.store(false);
    return result;
}

CLibrarySearchResult SearchLibraryIntoHitList(const CLibrarySearchRequest& request, const CSearchOptions& options,
                                              std::atomic<bool>& running, CReportTable& hitList,
                                              const CLibrarySearchCallbacks& callbacks, const TextMeasure& measure)
{
    hitList.SetEmptyText(kHitListSearchingText);
    CLibrarySearchCallbacks inner = callbacks;
    inner.ProgressRange = [&](int range) {
        hitList.DeleteAllRows();
        if (callbacks.ProgressRange)
            callbacks.ProgressRange(range);
    };
    inner.Row = [&](std::vector<std::string> cells) {
        if (callbacks.Row)
            callbacks.Row(cells);
        hitList.AddRow(std::move(cells));
    };
    CLibrarySearchResult result = SearchLibrary(request, options, running, inner);
    FinishHitList(result, request.UnknownPath, hitList, measure);
    return result;
}

} // namespace corvelin
