#include "engine/workflow/RunDisplay.h"

#include "engine/platform/CFormat.h"
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

} // namespace corvelin
