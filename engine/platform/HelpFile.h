#pragma once
// The help file: the HTML manual installed beside the programs (<prefix>/share/corvelinscope/manual, reached
// from the program folder <prefix>/bin as ../share/...; the build tree has the same layout). A help request
// names a context number; the table below maps each number to one section of the manual, so the map lives in
// one place and the manual's own test checks that every section it names exists.
#include <span>
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

// Context numbers of the help requests. The main window's pages use their tab number (1 to 8), the dialogs
// numbers from 20 on. 0 is the index.
enum HelpContext : int {
    kHelpIndex = 0,
    kHelpLibrarySearch = 1,
    kHelpMatchMatrix = 2,
    kHelpChromatogramAdd = 3,
    kHelpMassSpecReport = 4,
    kHelpOverlayPlot = 5,
    kHelpChromatogramMatch = 6,
    kHelpPeakMatchTable = 7,
    kHelpMultiSummary = 8,
    kHelpSearchOptions = 20,
    kHelpProgramOptions = 21,
    kHelpColumnArrangement = 22,
};

struct CORVELIN_ENGINE_EXPORT HelpTopic {
    int Context;
    const char* Title;  // the page's tab title or the dialog's caption
    const char* Target; // page of the manual and anchor, relative to the manual's folder
};

// Every context with its section, in context order.
CORVELIN_ENGINE_EXPORT std::span<const HelpTopic> HelpTopics();

// The section of a context ("pages.html#library-search"); the index ("index.html") for an unknown number.
CORVELIN_ENGINE_EXPORT std::string HelpTarget(int context);

// The manual's index file for programs in programFolder (with its trailing '/'):
// <programFolder>../share/corvelinscope/manual/index.html. Defaults to the running program's folder.
CORVELIN_ENGINE_EXPORT std::string HelpIndexPath(const std::string& programFolder);
CORVELIN_ENGINE_EXPORT std::string HelpIndexPath();

} // namespace corvelin
