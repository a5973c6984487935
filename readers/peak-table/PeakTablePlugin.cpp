// The peak table module: peak lists exported by other programs as tab, semicolon or comma separated text (one
// row per peak with its retention time and apex spectrum) read as chromatograms. The module is registered once
// per file ending, so the program may hand it several settings sections; a lab's own column names are read from
// them at every read. Nothing thrown inside crosses the C boundary.
#include <cerrno>
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
    if (path == nullptr)
        return EINVAL;
    std::string reason;
    const int code = peaktable::CheckPeakTableFile(path, LabColumns(), &reason);
    if (code != 0 && showMessages != 0) {
        try {
            ShowMessage(reason.empty() ? "Cannot read '" + std::string(path) + "': " + std::strerror(code) : reason,
                        "File Read Error", MessageIcon::Exclamation);
        } catch (...) {
        }
    }
    return code;
}

CORVELIN_PLUGIN_EXPORT int ReadFromDataSystem(const char* path, CLibraryChromatogram* chromatogram,
                                              double minAreaPercent, std::string* errorText)
{
    auto fail = [errorText](const std::string& text) {
        try {
            if (errorText != nullptr)
                *errorText = text;
        } catch (...) {
        }
        return 1;
    };
    if (path == nullptr || chromatogram == nullptr)
        return fail("No file or no chromatogram given.");
    try {
        const std::string warning = peaktable::ReadPeakTableFile(path, LabColumns(), minAreaPercent, *chromatogram);
        if (!warning.empty())
            ShowMessage(warning, kDataSystemName, MessageIcon::Exclamation);
        return 0;
    } catch (const peaktable::TableError& error) {
        chromatogram->Clear();
        return fail(std::string("Not a readable peak table, ") + error.what());
    } catch (const std::exception& error) {
        chromatogram->Clear();
        return fail(error.what());
    } catch (...) {
        chromatogram->Clear();
        return fail("Unknown error.");
    }
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
