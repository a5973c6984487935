#pragma once
// A raw run as "Add Chromatogram" shows it and "/TIC=" writes it: the scan run its module handed over, the
// peak-detector settings of that module and the peaks they give, found by the detector the module converts
// with, so the peaks shown are the peaks a conversion writes. "Detect again" stores new settings where the
// module reads them and detects on the run already read.
#include <optional>
#include <string>

#include "engine/core/EngineExport.h"
#include "engine/peaks/PeakDetector.h"
#include "engine/peaks/PeakDetectorSettings.h"
#include "engine/plugins/ReadScanRun.h"

namespace corvelin {

class CDatasystemPlugins;

struct CORVELIN_ENGINE_EXPORT CRunDisplay {
    std::string Path;
    CPluginScanRun Source;
    CPeakDetectorSettings Settings; // as read from Source.SettingsSection
    double MinAreaPercent = 0;
    CPeakList Peaks;
};

// Reads path's scan run and detects its peaks with its module's settings and minAreaPercent; nothing when its
// plug-in hands over no scan run (a peak list). Exceptions as ReadScanRunFromDataFile.
CORVELIN_ENGINE_EXPORT std::optional<CRunDisplay>
ReadRunDisplay(const CDatasystemPlugins& plugins, const std::string& path, double minAreaPercent, bool showMessages);

// Stores settings in the run's module section (so the next conversion uses them) and detects again with them.
CORVELIN_ENGINE_EXPORT void DetectAgain(CRunDisplay& display, const CPeakDetectorSettings& settings);

// The run as CSV text (lines end "\n"; the file is written in text mode, CR LF), fields as in the reports:
// "Time (min)","TIC", one row per scan; an empty line; "Peak","Apex (min)","Start (min)","End (min)","Area",
// one row per peak (numbered from 1, times "%.4f" minutes, TIC and area "%.0f").
CORVELIN_ENGINE_EXPORT std::string RunDisplayCsv(const CRunDisplay& display);

} // namespace corvelin
