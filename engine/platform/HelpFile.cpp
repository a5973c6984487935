#include "engine/platform/HelpFile.h"

#include <algorithm>
#include <array>

#include "engine/platform/ProgramFolder.h"

namespace corvelin {

namespace {

constexpr std::array kTopics{
    HelpTopic{kHelpIndex, "Contents", "index.html"},
    HelpTopic{kHelpLibrarySearch, "Library Search", "pages.html#library-search"},
    HelpTopic{kHelpMatchMatrix, "Match Matrix", "pages.html#match-matrix"},
    HelpTopic{kHelpChromatogramAdd, "Add Chromatogram", "pages.html#add-chromatogram"},
    HelpTopic{kHelpMassSpecReport, "Mass Spec Match Report", "pages.html#mass-spec-match-report"},
    HelpTopic{kHelpOverlayPlot, "Overlay Plot", "pages.html#overlay-plot"},
    HelpTopic{kHelpChromatogramMatch, "Chromatogram Match", "pages.html#chromatogram-match"},
    HelpTopic{kHelpPeakMatchTable, "Peak Match Table", "pages.html#peak-match-table"},
    HelpTopic{kHelpMultiSummary, "Multiple Chromatogram Peak List", "pages.html#multiple-chromatogram-peak-list"},
    HelpTopic{kHelpSearchOptions, "Search Options", "options.html#search-options"},
    HelpTopic{kHelpProgramOptions, "Options", "options.html#program-options"},
    HelpTopic{kHelpColumnArrangement, "Column Arrangement", "options.html#column-arrangement"},
};

} // namespace

std::span<const HelpTopic> HelpTopics()
{
    return kTopics;
}

std::string HelpTarget(int context)
{
    const auto it = std::find_if(kTopics.begin(), kTopics.end(),
                                 [context](const HelpTopic& topic) { return topic.Context == context; });
    return it != kTopics.end() ? it->Target : kTopics.front().Target;
}

std::string HelpIndexPath(const std::string& programFolder)
{
    return programFolder + "../share/corvelinscope/manual/index.html";
}

std::string HelpIndexPath()
{
    return HelpIndexPath(ProgramFolder());
}

} // namespace corvelin
