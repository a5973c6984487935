#include "tests/gui/GuiTestSupport.h"

#include "engine/plugins/PluginInterface.h"

#include <QDir>
#include <cmath>
#include <filesystem>

#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/workflow/Conversion.h"

namespace corvelin {

namespace {

std::unique_ptr<CDatasystemPlugin> MakePlugin(const char* module, const char* name, const char* extension,
                                              const char* filter)
{
    auto plugin = std::make_unique<CDatasystemPlugin>(module);
    plugin->Name = name;
    plugin->Extension = extension;
    plugin->Filter = filter;
    plugin->RegisteredPath = module;
    return plugin;
}

// A small deterministic generator, so fixtures are the same on every run.
class CRandom {
public:
    explicit CRandom(unsigned seed) : m_state(seed * 2654435761u + 12345u) {}
    double Next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) / 16777216.0;
    }

private:
    unsigned m_state;
};

} // namespace

GuiTestEnvironment::GuiTestEnvironment()
{
    auto plugins = std::make_unique<CDatasystemPlugins>();
#ifdef CORVELIN_ENTRY_READER
    plugins->Append(MakePlugin(CORVELIN_ENTRY_READER, "Corvelinscope Library Entry", ".ChromLibEntry",
                               "Library Chromatograms (*.ChromLibEntry)|*.ChromLibEntry"));
    m_entryReader = plugins->GetPlugin(0)->HasModule();
#endif
    m_previousPlugins = SetDatasystemPlugins(std::move(plugins));
    // One registered slot, so the program options dialog opens.
    m_settings->WriteSettingInt(SettingsScope::LocalMachine, "Plugins", nullptr, nullptr, 1);
    m_settings->WriteSettingString(SettingsScope::LocalMachine, "Plugins", nullptr, "Plugin0", "LibraryEntry");
}

GuiTestEnvironment::~GuiTestEnvironment()
{
    SetDatasystemPlugins(std::move(m_previousPlugins));
}

void GuiTestEnvironment::AddReader(const char* module, const char* name, const char* extension, const char* filter)
{
    DatasystemPlugins().Append(MakePlugin(module, name, extension, filter));
}

std::string ConvertRunCopy(const std::string& run, const std::string& folder)
{
    const std::string copy = folder + "/" + std::filesystem::path(run).filename().string();
    std::error_code error;
    if (!std::filesystem::copy_file(run, copy, error))
        return {};
    CInfoTree tree;
    const CSearchOptions options;
    const bool converted = ConvertChromatogram(copy, 1.0, options, false, tree);
    std::filesystem::remove(copy, error);
    return converted ? LibraryEntryName(copy) : std::string();
}

bool GuiTestEnvironment::AddMspReader()
{
#ifdef CORVELIN_MSP_READER
    DatasystemPlugins().Append(MakePlugin(CORVELIN_MSP_READER, "NIST MSP Spectra", ".msp", ""));
    return DatasystemPlugins().GetPlugin(DatasystemPlugins().GetCount() - 1)->HasModule();
#else
    return false;
#endif
}

bool GuiTestEnvironment::AddAndiReader()
{
#ifdef CORVELIN_ANDI_READER
    DatasystemPlugins().Append(
        MakePlugin(CORVELIN_ANDI_READER, "ANDI/AIA netCDF GC-MS", ".cdf", "ANDI/AIA netCDF Files (*.cdf)|*.cdf"));
    return DatasystemPlugins().GetPlugin(DatasystemPlugins().GetCount() - 1)->HasModule();
#else
    return false;
#endif
}

bool GuiTestEnvironment::AddRegisteredReader(const char* module, const char* name, const char* extension,
                                             const std::string& key)
{
    auto plugin = MakePlugin(module, name, extension, "");
    plugin->SettingsSection = "Plugins\\" + key;
    if (const auto setRegistryPath = plugin->Get<PFN_SetRegistryPath>(PluginExport::SetRegistryPath)) {
        std::string buffer = plugin->SettingsSection;
        buffer.resize(kPluginBufferSize, '\0');
        setRegistryPath(buffer.data());
    }
    const bool loaded = plugin->HasModule();
    DatasystemPlugins().Append(std::move(plugin));
    return loaded;
}

void WriteTestEntry(const std::string& path, int seed, int peaks, const std::string& sampleName)
{
    CLibraryChromatogram entry;
    entry.SampleName = sampleName;
    entry.Comment = "generated";
    entry.DataFile = path.substr(0, path.size() - 14);
    CRandom family(static_cast<unsigned>(seed / 10));
    CRandom noise(static_cast<unsigned>(seed) + 7777u);
    double totalArea = 0, totalHeight = 0;
    for (int j = 0; j < peaks; ++j) {
        CLibraryChromatogramPeakData& peak = entry.AddPeak();
        peak.RT = 2.0 + j * 0.35 + family.Next() * 0.1 + noise.Next() * 0.01;
        peak.StartRT = peak.RT - 0.02;
        peak.EndRT = peak.RT + 0.03;
        peak.RI = -1;
        peak.Area = 1000.0 + family.Next() * 50000.0 * (1.0 + 0.05 * noise.Next());
        peak.Height = peak.Area / 10.0;
        peak.PeakNumber = j + 1;
        totalArea += peak.Area;
        totalHeight += peak.Height;
        CLibraryMassSpectrumData* spectrum = &peak.Spectrum;
        for (int m = 0; m < 12; ++m) {
            const double mass = 40.0 + m * 7 + std::floor(family.Next() * 5);
            spectrum->Append(CLibraryMassSpectrumPoint(mass, 5.0 + 95.0 * family.Next() * (0.95 + 0.1 * noise.Next())));
        }
        double top = 0;
        for (const auto& p : spectrum->Points())
            top = std::max(top, p.Intensity);
        for (auto& p : spectrum->Points())
            p.Intensity = p.Intensity * 100.0 / top;
        spectrum->ApplyWeighting();
    }
    entry.TotalArea = totalArea;
    entry.TotalHeight = totalHeight;
    entry.SaveEntry(path);
}

std::string MakeTestLibrary(const TempDir& dir, const std::string& name, int count, int peaks, bool withSubfolder)
{
    const std::filesystem::path folder = dir.Path() / name;
    std::filesystem::create_directories(folder);
    for (int i = 0; i < count; ++i) {
        char file[64];
        std::snprintf(file, sizeof file, "entry%04i.ChromLibEntry", i);
        WriteTestEntry((folder / file).string(), i, peaks, "Sample " + std::to_string(i));
    }
    if (withSubfolder) {
        std::filesystem::create_directories(folder / "sub");
        WriteTestEntry((folder / "sub" / "deep.ChromLibEntry").string(), 3, peaks, "Deep sample");
    }
    return folder.string() + "/";
}

bool ScreenshotsWanted()
{
    return !qEnvironmentVariable("CORVELIN_SCREENSHOT_DIR").isEmpty();
}

QString ScreenshotFolder()
{
    QString folder = qEnvironmentVariable("CORVELIN_SCREENSHOT_DIR");
    if (folder.isEmpty())
        folder = QDir::current().filePath(QStringLiteral("screenshots"));
    QDir().mkpath(folder);
    return folder;
}

} // namespace corvelin
