#pragma once
// Conversion of instrument data files into library entries ("Add Chromatogram"): the entry name derived
// from the data file, "just display" (what a file holds, as tree lines), converting one file, and converting
// all like files of its folder or all ".D" run folders beside it. Every action reports as tree lines.
// On this platform "/" is the folder separator; "\" is recognised as well wherever a name is examined.
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CLibraryChromatogram;
class CSearchOptions;

// One line of the information tree: its text, its depth (0 = top level) and whether it is shown expanded.
struct CORVELIN_ENGINE_EXPORT CInfoLine {
    std::string Text;
    int Depth = 0;
    bool Expanded = false;
    bool operator==(const CInfoLine&) const = default;
};
using CInfoTree = std::vector<CInfoLine>;

// The entry file for a data file: "<run>.D/data.ms" (or "\data.ms") gives "<run>.D.ChromLibEntry" beside the
// run folder; a ".hpt" file inside a ".D" folder gives "<run>.ChromLibEntry" beside the folder; any other file
// gives its own path + ".ChromLibEntry". Endings compare without regard to case.
CORVELIN_ENGINE_EXPORT std::string LibraryEntryName(const std::string& dataFile);

// Whether path counts as a file inside a ".D" run folder for "convert all": it ends with ".d/data.ms", or it
// ends with ".hpt" or ".elu" and contains ".d/" after its first character (either separator, any case).
CORVELIN_ENGINE_EXPORT bool IsInsideRunFolder(const std::string& path);

// "just display": reads the file (minimum area in percent, messages on) and describes it; a chromatogram
// from another data system without RI data is recalibrated with the options' RI table first. tree receives
// the lines (it is cleared first); false when the file could not be read. shown, when given, receives the
// chromatogram described (empty when the file could not be read).
CORVELIN_ENGINE_EXPORT bool DisplayChromatogram(const std::string& path, double minAreaPercent,
                                                const CSearchOptions& options, CInfoTree& tree,
                                                CLibraryChromatogram* shown = nullptr);

// Converts one file: read, give it its RI calibration, write the entry (replacing an existing one whole). The
// data file's own calibration (at least two points) is kept when the options' RI table is empty ("Keeping the RI
// calibration of the data file (n points)."), else the options' table is applied ("The RI calibration of the data
// file was replaced by the current RI cal table." when the file had one): recalibrating with an empty table
// would leave every RI uncalibrated. Appends its lines to tree; false when the file was not converted.
CORVELIN_ENGINE_EXPORT bool ConvertChromatogram(const std::string& path, double minAreaPercent,
                                                const CSearchOptions& options, bool showMessages, CInfoTree& tree);

// "Display && Convert": the file alone, or with convertAll every like file of its folder (messages on) or,
// for a file inside a ".D" folder, every run folder beside it: first their "data.ms" files, then their
// "<run>.hpt" files (messages off). Each run stops at the first failure; what was converted stays.
// tree receives the lines (it is cleared first); false when a conversion failed.
CORVELIN_ENGINE_EXPORT bool DisplayAndConvert(const std::string& path, double minAreaPercent, bool convertAll,
                                              const CSearchOptions& options, CInfoTree& tree);

} // namespace corvelin
