// The peak table module: peak lists exported by other programs as tab, semicolon or comma separated text (one
// row per peak with its retention time and apex spectrum) read as chromatograms. The module is registered once
// per file ending, so the program may hand it several settings sections; a lab's own column names are read from
// them at every read. Nothing thrown inside crosses the C boundary.
#include <cstring>
#include <string>
#include <vector>

#include "readers/peak-table/LabColumnSettings.h"
#include "readers/peak-table/PeakTableFiles.h"
#include "readers/peak-table/TableText.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/PluginInterface.h"

namespace corvelin {

namespace {

constexpr const char* kDataSystemName = "Peak Table";
std::vector<std::string> g_settingsSections; // "Plugins\<key>" of every registration, in the order handed

peaktable::LabColumns LabColumns() noexcept
{
    return peaktable::LoadLabColumns(g_settingsSections);
}

} // namespace

CORVELIN_PLUGIN_EXPORT void SetRegistryPath(char* section)
{
    if (section == nullptr)
        return;
    try {
        std::string text(section, strnlen(section, kPluginBufferSize));
        for (const std::string& known : g_settingsSections)
            if (known == text)
                return;
        g_settingsSections.push_back(std::move(text));
    } catch (...) {
    }
}

CORVELIN_PLUGIN_EXPORT int IsFileReadable(const char* path, int showMessages)
{
    return peaklist::IsFileReadableExport(path, showMessages, [](const std::string& file, std::string& reason) {
        return peaktable::CheckPeakTableFile(file, LabColumns(), &reason);
    });
}

CORVELIN_PLUGIN_EXPORT int ReadFromDataSystem(const char* path, CLibraryChromatogram* chromatogram,
                                              double minAreaPercent, std::string* errorText)
{
    return peaklist::ReadFromDataSystemExport<peaktable::TableError>(
        path, chromatogram, errorText, "Not a readable peak table, ",
        [minAreaPercent](const std::string& file, CLibraryChromatogram& read) {
            const std::string warning = peaktable::ReadPeakTableFile(file, LabColumns(), minAreaPercent, read);
            if (!warning.empty())
                ShowMessage(warning, kDataSystemName, MessageIcon::Exclamation);
        });
}

CORVELIN_PLUGIN_EXPORT void ResetChromatogram(CLibraryChromatogram* chromatogram)
{
    if (chromatogram != nullptr)
        chromatogram->Clear();
}

CORVELIN_PLUGIN_EXPORT void GetDataSystemName(char* name)
{
    if (name == nullptr)
        return;
    std::strncpy(name, kDataSystemName, kPluginBufferSize - 1);
    name[kPluginBufferSize - 1] = '\0';
}

} // namespace corvelin
