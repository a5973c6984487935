#pragma once
// Reading the scan run of a raw data file through the optional ReadScanRun export of its plug-in: what the
// program plots (total-ion and extracted-ion chromatograms) and detects peaks on without converting. Plug-ins
// without the export (peak lists, older modules) read as before through ReadFromDataFile.
#include <optional>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/peaks/ScanRun.h"

namespace corvelin {

class CDatasystemPlugin;
class CDatasystemPlugins;
struct CorvelinScanRunData;

// A run as its module handed it over, with where that module keeps its peak-detector settings.
struct CORVELIN_ENGINE_EXPORT CPluginScanRun {
    CScanRun Run;
    std::vector<double> TotalIonCurrent; // one value per scan, the module's
    std::string SettingsSection;         // the module's settings section ("Plugins\<key>"); empty when unknown
    std::string DataSystemName;
};

// Copies what a module handed over, checking its shape first.
// @exception CFormatException (EBADMSG) when offsets do not run from 0 to LineCount without decreasing or an
// array is missing.
CORVELIN_ENGINE_EXPORT CScanRun CopyScanRunData(const CorvelinScanRunData& data, std::vector<double>& tic);

// The scan run of path from the plug-in that reads it (chosen as ReadFromDataFile chooses); nothing when that
// plug-in has no ReadScanRun export. The module's run is always handed back to its FreeScanRun.
// @exception the choice's exceptions (ReadFromDataFile.h)
// @exception CArchiveException (BadClass, path, the module's reason) when the module refuses the file; the
// reason is shown first when showMessages is set.
CORVELIN_ENGINE_EXPORT std::optional<CPluginScanRun>
ReadScanRunFromDataFile(const CDatasystemPlugins& plugins, const std::string& path, bool showMessages);
// The same for one plug-in.
CORVELIN_ENGINE_EXPORT std::optional<CPluginScanRun>
ReadScanRunThroughPlugin(CDatasystemPlugin& plugin, const std::string& path, bool showMessages);

} // namespace corvelin
