#pragma once
// The program options: every program-wide setting that is not a search parameter, with its place in the
// settings store and its default written once here. The options dialog edits them, the pages, printers, the
// main window and the batch program read them; nobody else names their keys.
//
//   print layout         CPageLayoutSettings::Load()        per-user "PageLayout"
//   peak limit           LoadMaxPeaks()                     per-user "LibrarySearch" / "MaxPeaks"
//   matrix display       CMatrixDisplaySettings::Load()     per-user "LibfileMatrix" / "MinSize", "SizeRange"
//   optional pages       IsPageShown(OptionalPage::...)     machine-wide "Corvelinscope" / "ShowPage..."
//   last library folder  LoadLastLibraryFolder()            per-user "LibrarySearch" / "LastFolder" (read only)
//   last searched folder LoadLastSearchedFolder(), Write... per-user "LibrarySearch" / "LastSearchedFolder"
//   file-type filter     LoadLastFileTypeIndex()            per-user "Corvelinscope" / "Last FileType Index"
//   summary tip picture  CSummaryPictureSize::Load()        per-user "Settings" / "bmpWidth_MultiSummary", ...
//   save folders         LoadSaveFolder(SaveFolder::...)    per-user "Settings" / "MRUSummaryPath",
//                                                           "MatchTable" / "Last Save Path"
//   AMDIS program        ReadAmdisPath(), WriteAmdisPath()  "AmdisPath" in the registered plug-ins' sections
//
// Reads never fail: a missing value gives the default.
#include <array>
#include <cstddef>
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

// The print page layout (per-user section "PageLayout"): borders in millimetres, the base font and whether
// reports print the search options block.
struct CORVELIN_ENGINE_EXPORT CPageLayoutSettings {
    int BorderLeft = 15;
    int BorderTop = 20;
    int BorderRight = 20;
    int BorderBottom = 20;
    int BaseFontSize = 10; // points
    std::string FontName = "Arial";
    int PrintSearchOptions = 1;

    static CPageLayoutSettings Load();
    // Borders, font size, font name, "PrintSearchOptions", in this order.
    void Write() const;
};

// The cell sizes of the match matrix display in screen pixels (per-user section "LibfileMatrix"); the display
// reads them on every drawing, so a change shows at once.
struct CORVELIN_ENGINE_EXPORT CMatrixDisplaySettings {
    int MinSize = 7;
    int SizeRange = 64;

    static CMatrixDisplaySettings Load();
    void Write() const;
};

// The peak limit of a library search (per-user "LibrarySearch" / "MaxPeaks", default 200).
inline constexpr int kDefaultMaxPeaks = 200;
CORVELIN_ENGINE_EXPORT int LoadMaxPeaks();
CORVELIN_ENGINE_EXPORT void WriteMaxPeaks(int maxPeaks);

// The library folder a library search page starts with (per-user "LibrarySearch" / "LastFolder", default
// empty). Nothing writes it.
CORVELIN_ENGINE_EXPORT std::string LoadLastLibraryFolder();

// The folder the library search page searched last (per-user "LibrarySearch" / "LastSearchedFolder"), which the
// page proposes; "LastFolder" when the page never searched. The batch program keeps to "LastFolder".
CORVELIN_ENGINE_EXPORT std::string LoadLastSearchedFolder();
CORVELIN_ENGINE_EXPORT void WriteLastSearchedFolder(const std::string& folder);

// The filter index the chromatogram file dialogs start on (per-user "Corvelinscope" / "Last FileType Index").
CORVELIN_ENGINE_EXPORT int LoadLastFileTypeIndex();
// Whether a filter index was ever stored (a first start has none).
CORVELIN_ENGINE_EXPORT bool HasLastFileTypeIndex();
CORVELIN_ENGINE_EXPORT void WriteLastFileTypeIndex(int index);

// The size of the spectrum picture in a summary peak tip (per-user "Settings" / "bmpWidth_MultiSummary",
// "bmpHeight_MultiSummary"; nothing writes them).
struct CORVELIN_ENGINE_EXPORT CSummaryPictureSize {
    int Width = 300;
    int Height = 120;

    static CSummaryPictureSize Load();
};

// The folders save dialogs start in, remembered from the last save: the multi-file summary's export and the
// peak match table's CSV export.
enum class SaveFolder { SummaryExport, PeakMatchExport };
CORVELIN_ENGINE_EXPORT std::string LoadSaveFolder(SaveFolder folder);
CORVELIN_ENGINE_EXPORT void WriteSaveFolder(SaveFolder folder, const std::string& path);

// The optional pages of the main window, with their flags in the machine-wide section "Corvelinscope". The
// library search and match matrix pages are always shown and have no flag.
enum class OptionalPage {
    ChromatogramAdd,
    MassSpecReport,
    OverlayPlot,
    ChromatogramMatch,
    PeakMatchTable,
    MultiSummary
};
inline constexpr std::size_t kOptionalPageCount = 6;

struct CORVELIN_ENGINE_EXPORT COptionalPageFlag {
    const char* Key;
    int Default;
};
// Indexed by OptionalPage. "ShowMultiSummary" has no control in the options dialog.
inline constexpr std::array<COptionalPageFlag, kOptionalPageCount> kOptionalPageFlags{{
    {"ShowPageAdd", 1},
    {"ShowPageReport", 0},
    {"ShowPageOverlay", 1},
    {"ShowPageMatchPlot", 1},
    {"ShowPeakMatchTable", 1},
    {"ShowMultiSummary", 1},
}};

// Whether the page is shown: any non-zero stored value counts as shown. The main window reads the flags when it
// is built and again after the options dialog's OK, so a change shows at once.
CORVELIN_ENGINE_EXPORT bool IsPageShown(OptionalPage page);
// Writes the flag as 0 or 1. A machine-wide write may be refused by the system and is then dropped silently.
CORVELIN_ENGINE_EXPORT void WritePageShown(OptionalPage page, bool shown);

// Everything the options dialog edits except the AMDIS path (which lives in the plug-in sections).
struct CORVELIN_ENGINE_EXPORT CProgramOptions {
    CPageLayoutSettings PageLayout;
    int MaxPeaks = kDefaultMaxPeaks;
    CMatrixDisplaySettings MatrixDisplay;
    // Indexed by OptionalPage; 0 or 1.
    std::array<int, kOptionalPageCount> PagesShown = [] {
        std::array<int, kOptionalPageCount> shown{};
        for (std::size_t i = 0; i < kOptionalPageCount; ++i)
            shown[i] = kOptionalPageFlags[i].Default;
        return shown;
    }();

    int& Shown(OptionalPage page) noexcept { return PagesShown[static_cast<std::size_t>(page)]; }
    int Shown(OptionalPage page) const noexcept { return PagesShown[static_cast<std::size_t>(page)]; }

    static CProgramOptions Load();
    // In the dialog's order: "MaxPeaks", the page layout, the matrix sizes, then the five page flags the
    // dialog has controls for ("ShowMultiSummary" is not written).
    void Write() const;
};

// The first non-empty "AmdisPath" of the registered plug-in sections ("Plugins\<key>"), empty when none has one.
// @exception CUserException when no plug-in slot is registered, after the message
// "ReadAmdisPath: Error reading number of file types plugins.".
CORVELIN_ENGINE_EXPORT std::string ReadAmdisPath();
// Writes the path into every registered plug-in section that already holds an "AmdisPath" value, so that it is
// stored only for the plug-ins that use it. @exception CUserException as ReadAmdisPath.
CORVELIN_ENGINE_EXPORT void WriteAmdisPath(const std::string& path);

} // namespace corvelin
