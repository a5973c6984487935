// The ANDI/AIA netCDF reader module: the plug-in exports over the ANDI-MS parser and the shared peak detector.
#include <string>

#include "andi-netcdf/AndiRunReader.h"
#include "peak-detector/ReaderPluginSupport.h"
#include "plugins/PluginInterface.h"

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

CScanRun Parse(const std::string& path)
{
    return ReadAndiRun(path);
}

} // namespace

CORVELIN_PLUGIN_EXPORT void SetRegistryPath(char* section)
{
    SettingsSection() = section ? section : "";
}

CORVELIN_PLUGIN_EXPORT int IsFileReadable(const char* path, int showMessages)
{
    return ReaderIsFileReadable(Parse, Cache(), path, showMessages);
}

CORVELIN_PLUGIN_EXPORT int ReadFromDataSystem(const char* path, CLibraryChromatogram* chromatogram,
                                              double minAreaPercent, std::string* errorText)
{
    return ReaderReadFromDataSystem(Parse, Cache(), SettingsSection(), path, chromatogram, minAreaPercent, errorText);
}

CORVELIN_PLUGIN_EXPORT void ResetChromatogram(CLibraryChromatogram* chromatogram)
{
    if (chromatogram)
        chromatogram->Clear();
}

CORVELIN_PLUGIN_EXPORT void GetDataSystemName(char* name)
{
    CopyToPluginBuffer(name, "ANDI/AIA netCDF GC-MS");
}
