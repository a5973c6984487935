#include "engine/workflow/LibrarySearch.h"
#include "engine/workflow/InputRICalibration.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <exception>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

#include "engine/compare/LibraryEntryComparer.h"
#include "engine/compare/LibraryHit.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/ReadFromDataFile.h"
#include "engine/table/ColumnArrangement.h"
#include "engine/table/ReportTable.h"
#include "engine/workflow/CommandLine.h"
#include "engine/workflow/HitList.h"

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

// Calls its function when it goes out of scope, also while an exception unwinds the stack.
template <class F> class CScopeExit {
public:
    explicit CScopeExit(F f) : m_f(std::move(f)) {}
    ~CScopeExit() { m_f(); }
    CScopeExit(const CScopeExit&) = delete;
    CScopeExit& operator=(const CScopeExit&) = delete;

private:
    F m_f;
};

// The outcome of one entry, made on a worker thread and delivered in scan order.
struct EntryRow {
    std::vector<std::string> Cells;
    bool Beep = false;
};

// One worker's reusable state: the unknown prepared once and the per-entry comparer's memory.
class EntryComparer {
public:
    EntryComparer(const CLibraryChromatogram& unknown, const CSearchOptions& options, int maxPeaks)
        : m_comparer(unknown, options, maxPeaks)
    {
    }

    EntryRow Compare(const CLibraryEntryFile& file)
    {
        EntryRow row;
        if (!file.NotAFile.empty()) {
            row.Cells = NotAFileEntryRowCells(file.FileCell, file.NotAFile);
            return row;
        }
        try {
            CLibraryHit hit;
            switch (m_comparer.Compare(file.Path, hit)) {
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

private:
    CLibraryEntryComparer m_comparer;
};

void Deliver(const CLibrarySearchCallbacks& callbacks, const CLibraryEntryFile& file, EntryRow&& row)
{
    if (callbacks.Progress)
        callbacks.Progress(file.PositionInFolder);
    if (row.Beep)
        Messages().Beep();
    if (callbacks.Row)
        callbacks.Row(std::move(row.Cells));
}

// Compares the entries on `threads` workers; the calling thread delivers the rows in scan order. Entries are
// claimed in order and only while running is set, so the delivered rows are always a prefix of the scan. The
// workers stay at most a few entries ahead of the delivery, so a stop takes effect after the entries in
// progress (not after everything the workers could claim while the receiver was busy) and the rows waiting
// for delivery stay few.
int ScanEntries(const std::vector<CLibraryEntryFile>& files, const CLibraryChromatogram& unknown,
                const CSearchOptions& options, int maxPeaks, unsigned threads, std::atomic<bool>& running,
                const CLibrarySearchCallbacks& callbacks)
{
    int delivered = 0;
    if (threads <= 1 || files.size() <= 1) {
        EntryComparer comparer(unknown, options, maxPeaks);
        for (const CLibraryEntryFile& file : files) {
            if (!running.load())
                break;
            Deliver(callbacks, file, comparer.Compare(file));
            ++delivered;
        }
        return delivered;
    }

    std::mutex mutex;
    std::condition_variable done;
    std::vector<std::optional<EntryRow>> results(files.size());
    std::size_t claimed = 0;    // guarded by mutex
    std::size_t delivering = 0; // the next row to deliver; guarded by mutex
    const std::size_t lookAhead = 4 * static_cast<std::size_t>(threads);
    std::condition_variable room;
    unsigned active = threads;
    bool abandoned = false; // guarded by mutex: the delivery ended early (a callback threw)

    auto worker = [&] {
        EntryComparer comparer(unknown, options, maxPeaks);
        for (;;) {
            std::size_t index;
            {
                std::unique_lock lock(mutex);
                room.wait(lock, [&] {
                    return abandoned || claimed >= files.size() || !running.load() || claimed < delivering + lookAhead;
                });
                if (abandoned || claimed >= files.size() || !running.load())
                    break;
                index = claimed++;
            }
            EntryRow row = comparer.Compare(files[index]);
            {
                std::lock_guard lock(mutex);
                results[index] = std::move(row);
            }
            done.notify_one();
        }
        {
            std::lock_guard lock(mutex);
            --active;
        }
        done.notify_one();
    };

    std::vector<std::jthread> pool; // joined when it goes, however the delivery ends
    pool.reserve(threads);
    for (unsigned i = 0; i < threads; ++i)
        pool.emplace_back(worker);
    // Runs before the pool is joined, also when a callback throws: a worker waiting for room must wake and end.
    const CScopeExit abandon([&] {
        {
            std::lock_guard lock(mutex);
            abandoned = true;
        }
        room.notify_all();
    });

    for (std::size_t next = 0;; ++next) {
        std::optional<EntryRow> row;
        {
            std::unique_lock lock(mutex);
            done.wait(lock, [&] {
                return (next < claimed && results[next].has_value()) || (next >= claimed && active == 0);
            });
            if (next >= claimed)
                break;
            row = std::move(results[next]);
            results[next].reset();
            delivering = next + 1;
        }
        room.notify_all();
        Deliver(callbacks, files[next], std::move(*row));
        ++delivered;
    }
    return delivered;
}

} // namespace

std::vector<CLibraryEntryFile> ListLibraryEntries(const std::string& folder, bool subfolders)
{
    std::vector<CLibraryEntryFile> out;
    ListFolder(WithTrailingSeparator(folder), std::string(), subfolders, out, 0);
    return out;
}

CLibrarySearchResult SearchLibrary(const CLibrarySearchRequest& request, const CSearchOptions& options,
                                   std::atomic<bool>& running, const CLibrarySearchCallbacks& callbacks)
{
    CLibrarySearchResult result;
    CLibraryChromatogram unknown;
    std::string dataSystem;
    bool read = false;
    try {
        const double minArea = options.AreaThresholdOn ? options.AreaThreshold : 0.0;
        read = ReadFromDataFile(unknown, request.UnknownPath, minArea, &dataSystem, false) == 1;
    } catch (const std::exception&) {
        read = false;
    }
    if (!read) {
        result.End = LibrarySearchEnd::UnknownUnreadable;
        result.FailureText = FormatC("Error reading from Chromatogram file '%s'", request.UnknownPath.c_str());
        ShowMessage(result.FailureText, "Corvelinscope", MessageIcon::Stop);
        running.store(false);
        return result;
    }
    if (NeedsInputRICalibration(dataSystem, unknown))
        unknown.Recalibrate(options.RICalibration());

    result.Unknown.PeakCount = unknown.PeakCount;
    result.Unknown.PeakCountText = FormatC("%2i", unknown.PeakCount);
    result.Unknown.SampleName = unknown.SampleName;
    result.Unknown.DataSystemName = dataSystem;
    if (callbacks.Unknown)
        callbacks.Unknown(result.Unknown);

    if (unknown.PeakCount > request.MaxPeaks) {
        result.End = LibrarySearchEnd::UnknownTooManyPeaks;
        result.FailureText = FormatC("Warning: Unknown file %s has %2i peaks which are too many to be comparable!",
                                     request.UnknownPath.c_str(), unknown.PeakCount);
        Messages().Beep();
        running.store(false);
        return result;
    }

    const std::vector<CLibraryEntryFile> files =
        ListLibraryEntries(request.LibraryFolder, options.SearchSubfolders != 0);
    result.EntryCount = static_cast<int>(files.size());
    if (callbacks.ProgressRange)
        callbacks.ProgressRange(result.EntryCount % 65536);

    unsigned threads = request.Threads > 0 ? static_cast<unsigned>(request.Threads)
                                           : std::max(1u, std::thread::hardware_concurrency());
    threads = std::min<unsigned>(threads, static_cast<unsigned>(std::max<std::size_t>(files.size(), 1)));
    result.RowCount = ScanEntries(files, unknown, options, request.MaxPeaks, threads, running, callbacks);
    result.End = result.RowCount < result.EntryCount ? LibrarySearchEnd::Stopped : LibrarySearchEnd::Completed;
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
