#include "engine/workflow/RunDisplay.h"

#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/platform/TextFile.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/workflow/BatchExitCode.h"
#include "engine/table/ReportCsv.h"

namespace corvelin {

std::optional<CRunDisplay> ReadRunDisplay(const CDatasystemPlugins& plugins, const std::string& path,
                                          double minAreaPercent, bool showMessages)
{
    std::optional<CPluginScanRun> source = ReadScanRunFromDataFile(plugins, path, showMessages);
    if (!source)
        return std::nullopt;
    CRunDisplay display;
    display.Path = path;
    display.Source = std::move(*source);
    display.Settings = CPeakDetectorSettings::FromSettings(display.Source.SettingsSection);
    display.MinAreaPercent = minAreaPercent;
    display.Peaks = DetectRunPeaks(display.Source.Run, display.Settings, minAreaPercent);
    return display;
}

void DetectAgain(CRunDisplay& display, const CPeakDetectorSettings& settings)
{
    settings.Store(display.Source.SettingsSection);
    display.Settings = settings;
    display.Settings.Sanitize();
    display.Peaks = DetectRunPeaks(display.Source.Run, display.Settings, display.MinAreaPercent);
}

std::string RunDisplayCsv(const CRunDisplay& display)
{
    const std::vector<double>& times = display.Source.Run.Times();
    const std::vector<double>& tic = display.Source.TotalIonCurrent;
    std::string text = CsvField("Time (min)") + CsvField("TIC") + "\n";
    for (std::size_t s = 0; s < std::min(times.size(), tic.size()); ++s)
        text += CsvField(FormatC("%.4f", times[s])) + CsvField(FormatC("%.0f", tic[s])) + "\n";
    text += "\n";
    text += CsvField("Peak") + CsvField("Apex (min)") + CsvField("Start (min)") + CsvField("End (min)") +
            CsvField("Area") + "\n";
    int number = 0;
    for (const CDetectedPeak& peak : display.Peaks.Peaks)
        text += CsvField(FormatC("%d", ++number)) + CsvField(FormatC("%.4f", peak.RT)) +
                CsvField(FormatC("%.4f", peak.StartRT)) + CsvField(FormatC("%.4f", peak.EndRT)) +
                CsvField(FormatC("%.0f", peak.Area)) + "\n";
    return text;
}

int ExportRunTic(const std::string& runPath, const std::string& csvPath, double minAreaPercent)
{
    std::optional<CRunDisplay> display;
    try {
        display = ReadRunDisplay(DatasystemPlugins(), runPath, minAreaPercent, true);
    } catch (const std::exception&) {
        return kExitUnreadable; // the reason was shown where it was found
    }
    if (!display) {
        ShowMessage("'" + runPath + "' holds no scan run (it is a peak list): there is no TIC to write.",
                    "Corvelinscope", MessageIcon::Stop);
        return kExitUnreadable;
    }
    try {
        WriteTextFile(csvPath, RunDisplayCsv(*display));
    } catch (const std::exception& e) {
        ShowMessage("The file '" + csvPath + "' could not be written: " + e.what(), "Corvelinscope", MessageIcon::Stop);
        return kExitReportFailed;
    }
    return kExitOk;
}

} // namespace corvelin
