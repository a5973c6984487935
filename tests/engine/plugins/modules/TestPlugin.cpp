// A data-system plug-in for the tests only (never installed). It exports every function of the plug-in interface
// and takes its behaviour from values in its own settings section (the section SetRegistryPath hands it), where it
// also counts its calls, so a test can steer it and check what the program did.
#include <cstdio>
#include <string>

#include "engine/core/Exceptions.h"
#include "engine/options/SettingsStore.h"
#include "engine/plugins/PluginInterface.h"

using namespace corvelin;

namespace {

std::string g_section = "Plugins\\Unregistered";

int Int(const char* name, int fallback = 0)
{
    return GetSettingInt(SettingsScope::LocalMachine, g_section.c_str(), nullptr, name, fallback);
}

std::string Text(const char* name, const char* fallback = "")
{
    return GetSettingString(SettingsScope::LocalMachine, g_section.c_str(), nullptr, name, fallback);
}

void SetText(const char* name, const std::string& value)
{
    WriteSettingString(SettingsScope::LocalMachine, g_section.c_str(), nullptr, name, value.c_str());
}

void Count(const char* name)
{
    WriteSettingInt(SettingsScope::LocalMachine, g_section.c_str(), nullptr, name, Int(name) + 1);
}

CLibraryMassSpectrumData* NewSpectrum(int j)
{
    auto* spectrum = new CLibraryMassSpectrumData;
    spectrum->Append(CLibraryMassSpectrumPoint(50.0 + j, 100.0, 100.0));
    spectrum->Append(CLibraryMassSpectrumPoint(60.0 + j, 50.0, 40.0));
    return spectrum;
}

} // namespace

CORVELIN_PLUGIN_EXPORT void SetRegistryPath(char* section)
{
    g_section = section;
    Count("SetRegistryPathCalls");
}

CORVELIN_PLUGIN_EXPORT int IsFileReadable(const char* path, int showMessages)
{
    Count("IsFileReadableCalls");
    SetText("LastShowMessages", std::to_string(showMessages));
    if (Int("ThrowInIsFileReadable"))
        throw CFileException(CFileException::Generic, path);
    return Int("ReadableCode");
}

CORVELIN_PLUGIN_EXPORT int ReadFromDataSystem(const char* path, CLibraryChromatogram* chromatogram,
                                              double minAreaPercent, std::string* errorText)
{
    Count("ReadCalls");
    char area[64];
    std::snprintf(area, sizeof area, "%.2f", minAreaPercent);
    SetText("LastMinArea", area);
    // A failing read leaves something behind in the record, as real readers do.
    chromatogram->SampleName = "partial";
    chromatogram->AddPeak().Area = 1;
    if (Int("ThrowInRead"))
        throw CArchiveException(CArchiveException::EndOfFile, path);
    const std::string error = Text("ReadError");
    if (!error.empty()) {
        *errorText = error;
        return 1;
    }
    chromatogram->Clear();
    chromatogram->SampleName = "read by " + g_section;
    chromatogram->DataFile = path;
    const int peaks = Int("PeakCount", 3);
    for (int i = 0; i < peaks; ++i) {
        CLibraryChromatogramPeakData& peak = chromatogram->AddPeak();
        peak.RT = 1.0 + i;
        peak.Area = 100.0 * (i + 1);
        peak.Height = 10.0 * (i + 1);
        peak.RI = -1;
        peak.PeakNumber = 42; // the program renumbers
        peak.Spectrum.Append(CLibraryMassSpectrumPoint(40.0 + i, 100.0, 100.0));
        chromatogram->TotalArea += peak.Area;
        chromatogram->TotalHeight += peak.Height;
    }
    return 0;
}

CORVELIN_PLUGIN_EXPORT void ResetChromatogram(CLibraryChromatogram* /*chromatogram*/)
{
    Count("ResetCalls");
}

CORVELIN_PLUGIN_EXPORT void GetDataSystemName(char* name)
{
    std::snprintf(name, kPluginBufferSize, "%s", Text("DataSystemName", "Test Data System").c_str());
}

CORVELIN_PLUGIN_EXPORT void GetMassSpecsReadFilter(std::string* filter, std::string* ending)
{
    *filter = Text("MassSpecsFilter");
    *ending = Text("MassSpecsEnding");
}

CORVELIN_PLUGIN_EXPORT int IsMassSpecsFileReadable(const char* /*path*/)
{
    return Int("MassSpecsReadable");
}

CORVELIN_PLUGIN_EXPORT int ReadMassSpecs(const char* /*path*/, PluginMassSpecArray* spectra, PluginStringArray* names)
{
    const int spectraCount = Int("SpectraCount", 2);
    const int nameCount = Int("NameCount", spectraCount);
    for (int j = 0; j < spectraCount; ++j)
        spectra->push_back(NewSpectrum(j));
    for (int j = 0; j < nameCount; ++j)
        names->push_back("Spectrum " + std::to_string(j + 1) + " of " + g_section);
    return 0;
}

CORVELIN_PLUGIN_EXPORT void FreeMassSpecs(PluginMassSpecArray* spectra, PluginStringArray* names)
{
    Count("FreeCalls");
    for (CLibraryMassSpectrumData* spectrum : *spectra)
        delete spectrum;
    spectra->clear();
    names->clear();
}

CORVELIN_PLUGIN_EXPORT int DatasystemOpen(const char* path)
{
    SetText("Opened", path);
    return Int("OpenCode");
}

CORVELIN_PLUGIN_EXPORT int DatasystemOverlay(const char* path1, const char* path2)
{
    SetText("Overlaid", std::string(path1) + "|" + path2);
    return Int("OverlayCode");
}
