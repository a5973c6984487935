// A data-system plug-in for the batch tests only: it reads "instrument files" whose bytes are a library entry
// (so tests write them with the engine) under a data-system name of its own, which makes the program treat them
// as foreign data (RI recalibration). A file that does not hold an entry fails to read. A file that begins with
// "THROW" stands for a faulty reader: its read throws, a standard exception for "THROW std", anything else
// otherwise.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <stdexcept>

#include "engine/core/LibraryChromatogram.h"
#include "engine/plugins/PluginInterface.h"

using namespace corvelin;

CORVELIN_PLUGIN_EXPORT int IsFileReadable(const char* path, int)
{
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
        return errno ? errno : ENOENT;
    std::fclose(file);
    return 0;
}

CORVELIN_PLUGIN_EXPORT int ReadFromDataSystem(const char* path, CLibraryChromatogram* chromatogram, double minArea,
                                              std::string* errorText)
{
    char head[10] = {};
    if (std::FILE* file = std::fopen(path, "rb")) {
        const std::size_t got = std::fread(head, 1, sizeof head - 1, file);
        head[got] = '\0';
        std::fclose(file);
    }
    if (std::strncmp(head, "THROW std", 9) == 0)
        throw std::runtime_error("the fake reader failed");
    if (std::strncmp(head, "THROW", 5) == 0)
        throw 42;
    try {
        chromatogram->ReadEntry(path);
        if (minArea > 0 && chromatogram->TotalArea > 0) {
            std::erase_if(chromatogram->Peaks,
                          [&](const auto& peak) { return peak->Area < chromatogram->TotalArea * minArea / 100.0; });
            chromatogram->PeakCount = static_cast<int>(chromatogram->Peaks.size());
        }
        return 0;
    } catch (const std::exception& e) {
        chromatogram->Clear();
        if (errorText)
            *errorText = e.what();
        return 1;
    }
}

CORVELIN_PLUGIN_EXPORT void ResetChromatogram(CLibraryChromatogram*) {}

CORVELIN_PLUGIN_EXPORT void GetDataSystemName(char* name)
{
    std::snprintf(name, kPluginBufferSize, "Fake GC-MS");
}
