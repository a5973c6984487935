#pragma once
// The library search: read the unknown chromatogram through the plug-ins, then compare it both ways with
// every library entry file (".ChromLibEntry") of a folder and, optionally, of its subfolders; each entry
// becomes one row of the hit list. Entries are compared in parallel; rows are delivered in scan order (files
// of a folder by name, then its subfolders depth first), so the result does not depend on the thread count.
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CLibraryChromatogram;
class CReportTable;
class CSearchOptions;

struct CORVELIN_ENGINE_EXPORT CLibrarySearchRequest {
    std::string UnknownPath;
    std::string LibraryFolder; // a trailing "/" is added when it has no separator at its end
    int MaxPeaks = 200;        // bounds the peak count of both chromatograms of every comparison
    int Threads = 0;           // 0 = one per core
};

// What the unknown's read gave: the page's three display texts.
struct CORVELIN_ENGINE_EXPORT CUnknownInfo {
    std::string PeakCountText; // "%2i"
    std::string SampleName;
    std::string DataSystemName;
    int PeakCount = 0;
};

// All callbacks run on the thread that called SearchLibrary, in this order: Unknown (after a successful
// read), ProgressRange, then per entry in scan order Progress and Row. Status receives the hit list's empty
// texts ("Searching ..." is the caller's to set before starting). Any callback may be empty.
struct CORVELIN_ENGINE_EXPORT CLibrarySearchCallbacks {
    std::function<void(const CUnknownInfo&)> Unknown;
    std::function<void(int range)> ProgressRange; // entry count modulo 65536
    std::function<void(int position)> Progress;   // running number of the entry within its folder, from 1
    std::function<void(std::vector<std::string> cells)> Row;
};

enum class LibrarySearchEnd {
    Completed,         // every entry was scanned
    Stopped,           // the running flag was cleared; the entries in progress were finished
    UnknownUnreadable, // "Error reading from Chromatogram file '%s'" was shown
    UnknownTooManyPeaks,
    UnknownBeyondBound, // the unknown's reader refused it as beyond one of its bounds (its reason names it)
};

struct CORVELIN_ENGINE_EXPORT CLibrarySearchResult {
    LibrarySearchEnd End = LibrarySearchEnd::Completed;
    CUnknownInfo Unknown;
    std::string FailureText; // the text of the unreadable / too-many-peaks cases
    int EntryCount = 0;      // entries found by counting
    int RowCount = 0;        // rows delivered
};

// Runs a search. running must be set by the caller; the search tests it before each entry and clears it
// when it ends. The unknown is read with the options' area threshold when that is switched on; when its
// data system is not this program's own ("Corvelinscope...") and it has no RI calibration it is recalibrated
// with the options' RI table. An unreadable unknown shows its message (titled with the program's name, the
// reader's reason on a line of its own); with RI matching on, an unknown or entries without RI values give one
// warning at the end (the RI match values stay as computed); an
// entry with more than MaxPeaks peaks gives a warning row and a beep; an entry file that cannot be read gives
// a warning row. Nothing is thrown for bad input.
CORVELIN_ENGINE_EXPORT CLibrarySearchResult SearchLibrary(const CLibrarySearchRequest& request,
                                                          const CSearchOptions& options, std::atomic<bool>& running,
                                                          const CLibrarySearchCallbacks& callbacks);

// The whole search of the hit list page on a report table that has the hit list's columns: rows deleted,
// rows added in scan order, the list sorted by "Foward" descending and the stored arrangement re-applied; the
// failure rows as the page shows them; empty text "No data in library" when no row came. measure (optional)
// gives a text's width in pixels for the column auto-size of the too-many-peaks case.
CORVELIN_ENGINE_EXPORT CLibrarySearchResult SearchLibraryIntoHitList(
    const CLibrarySearchRequest& request, const CSearchOptions& options, std::atomic<bool>& running,
    CReportTable& hitList, const CLibrarySearchCallbacks& callbacks = {},
    const std::function<int(const std::string&)>& measure = {});
// Its end is FinishHitList, which the desktop page calls itself on the rows it received.

// The library entry files of a folder and (optionally) its subfolders in scan order, with the relative prefix
// each row's "File" cell starts with ("" in the folder itself, "./sub/" in a direct subfolder sub). Items named
// like entries that are no readable file (a folder not scanned as a subfolder, a broken or looping link, a
// device, a pipe) are listed too, with the reason, and become warning rows.
struct CORVELIN_ENGINE_EXPORT CLibraryEntryFile {
    std::string Path;         // folder + file name
    std::string FileCell;     // relative prefix + file name
    int PositionInFolder = 0; // 1, 2, ... restarting in every folder
    std::string NotAFile;     // why the item is no file an entry can be read from ("a folder", ...); "" = it is
};
CORVELIN_ENGINE_EXPORT std::vector<CLibraryEntryFile> ListLibraryEntries(const std::string& folder, bool subfolders);

// The pieces SearchLibrary is made of, for searches that share them (many unknowns in one pass, a library shard).

// An unknown read as SearchLibrary reads it (with its message for an unreadable file and its beep for too many
// peaks). Chromatogram is set only when the unknown can be searched; Result then has End = Completed and the
// unknown's texts, otherwise the failure. onRead is called after a successful read, as the Unknown callback is.
struct CORVELIN_ENGINE_EXPORT CSearchUnknown {
    CLibrarySearchResult Result;
    std::unique_ptr<CLibraryChromatogram> Chromatogram;
    bool RIUnknown = false; // read, but with RI matching on its RI values are unknown
};
CORVELIN_ENGINE_EXPORT CSearchUnknown ReadSearchUnknown(const std::string& path, const CSearchOptions& options,
                                                        int maxPeaks,
                                                        const std::function<void(const CUnknownInfo&)>& onRead = {});

// The row of one entry for one unknown, and whether it beeps (an entry with too many peaks).
struct CORVELIN_ENGINE_EXPORT CEntryRow {
    std::vector<std::string> Cells;
    bool Beep = false;
    bool LacksRI = false; // compared with RI matching on, the entry has no RI values
};
// Receives the rows of entries[index], one per unknown in the unknowns' order, on the calling thread.
using LibraryEntryRowsReceiver = std::function<void(std::size_t index, std::vector<CEntryRow>&& rows)>;

struct CORVELIN_ENGINE_EXPORT CLibraryScanCount {
    int Delivered = 0;         // entries whose rows were delivered: always the first ones of the list
    long long EntriesRead = 0; // entry files read and decoded (each at most once, whatever the unknown count)
};

// Compares each unknown both ways with each entry, in parallel on threads workers (0 = one per core); every
// entry file is read and decoded once for all unknowns, and each unknown's row is the row a search of that
// unknown alone gives. Rows are delivered in the order of entries; running is tested before each entry (and
// not cleared here). Nothing is thrown for bad entries.
CORVELIN_ENGINE_EXPORT CLibraryScanCount ScanLibraryEntries(const std::vector<CLibraryEntryFile>& entries,
                                                            const std::vector<const CLibraryChromatogram*>& unknowns,
                                                            const CSearchOptions& options, int maxPeaks, int threads,
                                                            std::atomic<bool>& running,
                                                            const LibraryEntryRowsReceiver& deliver);

// What a search does with an entry's row: Progress with its position in its folder, the beep, then Row.
CORVELIN_ENGINE_EXPORT void DeliverEntryRow(const CLibrarySearchCallbacks& callbacks, const CLibraryEntryFile& file,
                                            CEntryRow&& row);

} // namespace corvelin
