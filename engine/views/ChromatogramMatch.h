#pragma once
// The compare behind the Chromatogram Match page: both chromatograms read for it, and both directions compared in
// one square cell table. The reverse direction is compared first, so the table ends with the forward values the
// match lines show; the two hits give the details text.
#include <atomic>
#include <optional>
#include <string>

#include "engine/compare/CellTable.h"
#include "engine/compare/LibraryHit.h"
#include "engine/core/EngineExport.h"
#include "engine/core/LibraryChromatogram.h"

namespace corvelin {

class CSearchOptions;

struct CORVELIN_ENGINE_EXPORT CChromatogramMatch {
    CLibraryHit Forward;
    CLibraryHit Reverse;
    CCellTable Cells; // MatchTableSide x MatchTableSide, the forward values
};

// Compares self with other both ways with the options (empty hits and table when either has no peaks is
// left to the compare: the table is sized to the larger peak count).
CORVELIN_ENGINE_EXPORT CChromatogramMatch CompareForMatchPlot(const CLibraryChromatogram& self,
                                                              const CLibraryChromatogram& other,
                                                              const CSearchOptions& options);
// The same as the page's job runs it: nothing when running is cleared before both directions are compared (it is
// looked at before each direction), so a stopped or superseded compare never hands over half a result.
CORVELIN_ENGINE_EXPORT std::optional<CChromatogramMatch> CompareForMatchPlot(const CLibraryChromatogram& self,
                                                                             const CLibraryChromatogram& other,
                                                                             const CSearchOptions& options,
                                                                             const std::atomic<bool>& running);

// The two inputs of the page, read for it (messages of a failed read shown); false when either could not be read.
// riWarning receives the warning when RI matching is on and an input's RI values are unknown.
struct CORVELIN_ENGINE_EXPORT CChromatogramMatchInputs {
    CLibraryChromatogram This;
    CLibraryChromatogram Other;
    std::string RIWarning;
};
CORVELIN_ENGINE_EXPORT bool ReadChromatogramMatchInputs(const std::string& thisPath, const std::string& otherPath,
                                                        const CSearchOptions& options,
                                                        CChromatogramMatchInputs& inputs);

} // namespace corvelin
