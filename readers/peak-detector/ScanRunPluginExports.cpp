// The plug-in exports of a raw-data reader module, over the module's parser and the shared peak detector.
#include <string>

#include "readers/peak-detector/ReaderPluginSupport.h"
#include "readers/peak-detector/ScanRunModule.h"
#include "engine/plugins/PluginInterface.h"

namespace corvelin {

namespace {

std::string& SettingsSection()
{
    static std::string section;
    return section;
}

CRunCache& Cache()
{
    static CRunCache cache;
    return cache;
}

} // namespace

CORVELIN_PLUGIN_EXPORT void SetRegistryPath(char* section)
{
    SettingsSection() = section ? section : "";
}

CORVELIN_PLUGIN_EXPORT int IsFileReadable(const char* path, int showMessages)
{
    return ReaderIsFileReadable(ParseModuleRun, Cache(), path, showMessages);
}

CORVELIN_PLUGIN_EXPORT int ReadFromDataSystem(const char* path, CLibraryChromatogram* chromatogram,
                                              double minAreaPercent, std::string* errorText)
{
    return ReaderReadFromDataSystem(ParseModuleRun, Cache(), SettingsSection(), path, chromatogram, minAreaPercent,
                                    errorText);
}

CORVELIN_PLUGIN_EXPORT int ReadScanRun(const char* path, CorvelinScanRunData** run, char* errorText)
{
    return ReaderReadScanRun(ParseModuleRun, Cache(), SettingsSection(), path, run, errorText);
}

CORVELIN_PLUGIN_EXPORT void FreeScanRun(CorvelinScanRunData* run)
{
    ReaderFreeScanRun(run);
}

CORVELIN_PLUGIN_EXPORT void ResetChromatogram(CLibraryChromatogram* chromatogram)
{
    if (chromatogram)
        chromatogram->Clear();
}

CORVELIN_PLUGIN_EXPORT void GetDataSystemName(char* name)
{
    CopyToPluginBuffer(name, kModuleDataSystemName);
}

} // namespace corvelin
