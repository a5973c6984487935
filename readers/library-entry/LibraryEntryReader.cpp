// Data-system plug-in for library entry files: reads a .ChromLibEntry with the engine's entry reader. Its data-system
// name begins with "Corvelinscope", which tells the program that the peaks already carry RI values.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

#include "engine/core/LibraryChromatogram.h"
#include "engine/plugins/PluginInterface.h"

namespace corvelin {

namespace {

const char* const kDataSystemName = "Corvelinscope Library Entry";

// Drops the peaks whose area is below minAreaPercent of the total area (0 keeps all).
void DropSmallPeaks(CLibraryChromatogram& chromatogram, double minAreaPercent)
{
    if (minAreaPercent <= 0 || chromatogram.TotalArea <= 0)
        return;
    const double limit = chromatogram.TotalArea * minAreaPercent / 100.0;
    auto& peaks = chromatogram.Peaks;
    std::erase_if(peaks, [limit](const auto& peak) { return !peak || peak->Area < limit; });
    chromatogram.PeakCount = static_cast<int>(peaks.size());
}

} // namespace

CORVELIN_PLUGIN_EXPORT int IsFileReadable(const char* path, int /*showMessages*/)
{
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
        return errno ? errno : ENOENT;
    std::fclose(file);
    return 0;
}

CORVELIN_PLUGIN_EXPORT int ReadFromDataSystem(const char* path, CLibraryChromatogram* chromatogram,
                                              double minAreaPercent, std::string* errorText)
{
    try {
        chromatogram->ReadEntry(path);
        DropSmallPeaks(*chromatogram, minAreaPercent);
        return 0;
    } catch (const std::exception& e) {
        chromatogram->Clear();
        if (errorText)
            *errorText = e.what();
        return 1;
    }
}

CORVELIN_PLUGIN_EXPORT void ResetChromatogram(CLibraryChromatogram* /*chromatogram*/)
{
    // The record holds only engine objects, which the program's copy of it owns and frees.
}

CORVELIN_PLUGIN_EXPORT void GetDataSystemName(char* name)
{
    std::snprintf(name, kPluginBufferSize, "%s", kDataSystemName);
}

} // namespace corvelin
