#include "engine/plugins/ReadScanRun.h"

#include <cerrno>
#include <memory>

#include "engine/core/Exceptions.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/plugins/PluginInterface.h"
#include "engine/plugins/ReadFromDataFile.h"

namespace corvelin {

CScanRun CopyScanRunData(const CorvelinScanRunData& data, std::vector<double>& tic)
{
    const auto refuse = [](const char* why) {
        throw CFormatException(std::string("Unusable scan run: ") + why, EBADMSG);
    };
    if (!data.ScanOffsets || (data.ScanCount > 0 && (!data.Times || !data.TotalIonCurrent)) ||
        (data.LineCount > 0 && (!data.Masses || !data.Intensities)))
        refuse("an array is missing");
    if (data.ScanOffsets[0] != 0 || data.ScanOffsets[data.ScanCount] != data.LineCount)
        refuse("the scan offsets do not run from 0 to the line count");
    for (std::size_t s = 0; s < data.ScanCount; ++s)
        if (data.ScanOffsets[s + 1] < data.ScanOffsets[s])
            refuse("the scan offsets decrease");
    CScanRun run;
    run.Reserve(data.ScanCount, data.LineCount);
    tic.assign(data.TotalIonCurrent, data.TotalIonCurrent + data.ScanCount);
    for (std::size_t s = 0; s < data.ScanCount; ++s) {
        run.AddScan(data.Times[s]);
        for (std::size_t k = data.ScanOffsets[s]; k < data.ScanOffsets[s + 1]; ++k)
            run.AddLine(data.Masses[k], data.Intensities[k]);
    }
    return run;
}

std::optional<CPluginScanRun> ReadScanRunThroughPlugin(CDatasystemPlugin& plugin, const std::string& path,
                                                       bool showMessages)
{
    const auto read = plugin.Get<PFN_ReadScanRun>(PluginExport::ReadScanRun);
    const auto free = plugin.Get<PFN_FreeScanRun>(PluginExport::FreeScanRun);
    if (!read || !free)
        return std::nullopt;
    CorvelinScanRunData* data = nullptr;
    char errorText[kPluginBufferSize] = {};
    const int code = read(path.c_str(), &data, errorText);
    const std::unique_ptr<CorvelinScanRunData, PFN_FreeScanRun> owned(data, free);
    errorText[kPluginBufferSize - 1] = '\0';
    if (code != 0 || !data) {
        const std::string reason = errorText[0] ? errorText : "the module handed over no scan run";
        if (showMessages)
            ShowMessage("Error while reading data file " + path + ":\n'" + reason + "'.", {}, MessageIcon::Stop);
        throw CArchiveException(CArchiveException::BadClass, path, reason);
    }
    CPluginScanRun result;
    result.Run = CopyScanRunData(*data, result.TotalIonCurrent);
    result.SettingsSection = plugin.SettingsSection;
    result.DataSystemName = DataSystemNameOf(plugin);
    return result;
}

std::optional<CPluginScanRun> ReadScanRunFromDataFile(const CDatasystemPlugins& plugins, const std::string& path,
                                                      bool showMessages)
{
    CDatasystemPlugin* plugin = ChooseDataFilePlugin(plugins, path, showMessages);
    if (!plugin)
        return std::nullopt;
    return ReadScanRunThroughPlugin(*plugin, path, showMessages);
}

} // namespace corvelin
