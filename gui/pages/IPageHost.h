#pragma once
// What a page of the main window may ask of the window that holds it: other pages by their id, whether a page
// has a tab, switching to a page, the hand-offs of a pair of chromatograms to another page, and ending the
// window. The main window implements it; pages know the window only through this interface.
#include <string>
#include <vector>

namespace corvelin {

class CMainPage;

// The outcome of a hand-off to another page.
enum class PageHandOff {
    Done,     // the target page took the files and, unless it refused, is now the active page
    Missing,  // the target page has no window or does not take this hand-off (yet)
    Disabled, // the target page was switched off by option and has no tab
};

class IPageHost {
public:
    // The pages, in tab order.
    enum PageId {
        LibrarySearch,
        MatchMatrix,
        ChromatogramAdd,
        MassSpecReport,
        OverlayPlot,
        ChromatogramMatch,
        PeakMatchTable,
        MultiSummary,
        PageCount
    };

    virtual ~IPageHost() = default;

    // Every page is constructed, also one without a tab; nullptr for an id out of range.
    virtual CMainPage* Page(PageId id) const noexcept = 0;
    // Whether the page has a tab (its visibility option was on when the window was built).
    virtual bool IsPageAdded(PageId id) const noexcept = 0;
    // Makes the page the active tab; false for a page without a tab or when the active page may not be left.
    virtual bool ActivatePage(PageId id) = 0;

    // "Display chromatogram match": the match page shows the pair and becomes active (unless it refused).
    // Missing when the page has no tab or does not take the hand-off.
    virtual PageHandOff ShowChromatogramMatch(const std::string& thisPath, const std::string& otherPath) = 0;
    // "Build unknown/library match matrix": the match matrix page takes both paths, builds and becomes active.
    virtual PageHandOff BuildMatchMatrix(const std::string& thisPath, const std::string& otherPath) = 0;
    // "Build peak match table": the peak match table page takes both paths, builds and becomes active. Disabled
    // when its page was switched off by option, Missing when no page takes the hand-off.
    virtual PageHandOff BuildPeakMatchTable(const std::string&, const std::string&) { return PageHandOff::Missing; }
    // "Internal Overlay": the overlay page adds the files in this order and becomes active. Disabled when its
    // page was switched off by option (tested first), Missing when it does not take the hand-off.
    virtual PageHandOff AddToOverlay(const std::vector<std::string>& paths) = 0;

    // OK as the user would click it, carried out after the current event (the batch search ends this way).
    virtual void PostOk() = 0;
    // Ends the window with OK at once, without the exit questions (the batch conversion ends this way).
    virtual void EndWithoutQuestions() = 0;
};

} // namespace corvelin
