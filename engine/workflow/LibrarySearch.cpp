#include "engine/workflow/LibrarySearch.h"
#include "engine/workflow/InputRICalibration.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <filesystem>
#include <optional>

#include "engine/compare/CellTable.h"
#include "engine/compare/Compare.h"
#include "engine/compare/LibraryHit.h"
#include "engine/compare/MatchFactors.h"
#include "engine/compare/PreparedSpectra.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/ReadFromDataFile.h"
#include "engine/table/ColumnArrangement.h"
#include "engine/table/ReportTable.h"
#include "engine/workflow/CommandLine.h"
#include "engine/workflow/HitList.h"
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

// The outcome of one entry, made on a worker thread and delivered in scan order.
struct EntryRow {
    std::vector<std::string> Cells;
    bool Beep = false;
};

// One worker's reusable state: its entry chromatogram and its cell table (grown to the largest n needed,
// never beyond MaxPeaks x MaxPeaks).
class EntryComparer {
public:
    EntryComparer(const CLibraryChromatogram& unknown, const CSearchOptions& options, int maxPeaks)
        : m_unknown(unknown), m_options(options), m_maxPeaks(maxPeaks)
    {
        // The unknown's spectra are prepared once for all entries, each entry's once for both directions.
        m_unknownSpectra.PreparePeaks(m_unknown, MassThresholdOf(m_options));
    }

    EntryRow Compare(const CLibraryEntryFile& file)
    {
        EntryRow row;
        if (!file.NotAFile.empty()) {
            row.Cells = NotAFileEntryRowCells(file.FileCell, file.NotAFile);
            return row;
        }
        try {
            m_entry.Clear();
            if (!m_entry.LoadEntry(file.Path)) {
                row.Cells = UnreadableEntryRowCells(file.FileCell);
                return row;
            }
            const int n = std::max(m_unknown.PeakCount, m_entry.PeakCount);
            if (n > m_maxPeaks) {
                row.Cells = TooManyPeaksRowCells(file.FileCell, m_entry);
                row.Beep = true;
                return row;
            }
            const std::size_t size = static_cast<std::size_t>(std::max(n, 0));
            if (m_cells.Rows() < size)
                m_cells.Resize(size, size);
            // The table is scratch memory of the comparisons; it needs no reset.
            CLibraryHit forward;
            CLibraryHit reverse;
            m_entrySpectra.PreparePeaks(m_entry, MassThresholdOf(m_options));
            CCompareTuning tuning;
            tuning.TableIsScratch = true; // only the hits are reported
            tuning.ThisSpectra = &m_unknownSpectra;
            tuning.OtherSpectra = &m_entrySpectra;
            CompareChromatograms(m_unknown, m_entry, m_options, &forward, &m_cells, tuning);
            std::swap(tuning.ThisSpectra, tuning.OtherSpectra);
            CompareChromatograms(m_entry, m_unknown, m_options, &reverse, &m_cells, tuning);
            forward.SetReverseFrom(reverse);
            row.Cells = HitRowCells(file.FileCell, m_entry, forward);
        } catch (const std::exception&) {
            row.Cells = UnreadableEntryRowCells(file.FileCell);
            row.Beep = false;
        }
        return row;
    }

private:
    const CLibraryChromatogram& m_unknown;
    const CSearchOptions& m_options;
    int m_maxPeaks;
    CLibraryChromatogram m_entry;
    CCellTable m_cells;
    CPreparedSpectra m_unknownSpectra;
    CPreparedSpectra m_entrySpectra;
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

// Compares the entries on the runner's threads, each with a comparer of its own, and delivers the rows in scan
// order on the calling thread. An entry whose comparison throws gives the row of an unreadable entry.
int ScanEntries(const std::vector<CLibraryEntryFile>& files, const CLibraryChromatogram& unknown,
                const CSearchOptions& options, int maxPeaks, unsigned threads, std::atomic<bool>& running,
                const CLibrarySearchCallbacks& callbacks)
{
    std::vector<std::optional<EntryComparer>> comparers(threads);
    const std::size_t delivered = RunInOrder<EntryRow>(
        files.size(), threads, running,
        [&](std::size_t i, unsigned worker) {
            if (!comparers[worker])
                comparers[worker].emplace(unknown, options, maxPeaks);
            return comparers[worker]->Compare(files[i]);
        },
        [&](std::size_t i, const std::string&) {
            return EntryRow{UnreadableEntryRowCells(files[i].FileCell), false};
        },
        [&](std::size_t i, EntryRow&& row) { Deliver(callbacks, files[i], std::move(row)); });
    return static_cast<int>(delivered);
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

    const unsigned threads = RunnerThreads(request.Threads, files.size());
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
