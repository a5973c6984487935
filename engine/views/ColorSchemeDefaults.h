#pragma once
// The colour schemes an installation brings along. The program never writes scheme definitions, so the build's
// registration step and `cmake --install` put these into the machine-wide settings of the programs' folder
// when no scheme is defined there yet. A lab's own schemes are never touched.
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/views/ColorScheme.h"

namespace corvelin {

class SettingsStore;

struct CORVELIN_ENGINE_EXPORT CDefaultColorScheme {
    std::string Name;
    std::vector<CSchemeColor> Colors; // lowest match first
    CSchemeColor NotFoundThis;
    CSchemeColor NotFoundOther;
};

// "Colors" (10 colours from dark blue for a poor match to dark red for a perfect one), "Viridis" (10 colours,
// readable with the common colour-vision deficiencies and in grey print) and "Grey".
CORVELIN_ENGINE_EXPORT const std::vector<CDefaultColorScheme>& DefaultColorSchemes();

// Writes the default schemes into store when it defines none ("nColorSchemes" missing or below 1). A scheme
// subsection that already holds colours (a lab's own "Colors", say) keeps them; only its name is listed.
// Returns whether the set was written.
CORVELIN_ENGINE_EXPORT bool InstallDefaultColorSchemes(SettingsStore& store);

} // namespace corvelin
