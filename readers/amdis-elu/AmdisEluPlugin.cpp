// The AMDIS reader module: deconvolved peak lists from .ELU files as chromatograms, and .MSL libraries (and the
// component spectra of .ELU files) as spectra for the include/exclude list. Nothing thrown inside crosses the
// C boundary: every export turns errors into its documented result.
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "AmdisFiles.h"
#include "EluParser.h"
#include "platform/MessageSink.h"
#include "options/SettingsStore.h"
#include "plugins/PluginInterface.h"

namespace {

constexpr const char* kDataSystemName = "AMDIS Deconvolution (ELU)";
constexpr const char* kMassSpecsFilter = "AMDIS Libraries (*.msl)|*.msl|";
constexpr const char* kMassSpecsEnding = ".msl";
std::string g_settingsSection; // "Plugins\<key>", from SetRegistryPath

// Value of the module's settings section (machine-wide): 1 keeps the lines AMDIS flagged as uncertain, 0 (the
// default) leaves them out. Read at every read, so a change takes effect without a restart.
constexpr const char* kKeepFlaggedValue = "Keep Flagged Ions";

bool KeepFlaggedLines() noexcept
{
    if (g_settingsSection.empty())
        return false;
    try {
        return GetSettingInt(SettingsScope::LocalMachine, g_settingsSection.c_str(), nullptr, kKeepFlaggedValue, 0) !=
               0;
    } catch (...) {
        return false;
    }
}

void CopyToBuffer(char* buffer, const char* text)
{
    std::strncpy(buffer, text, kPluginBufferSize - 1);
    buffer[kPluginBufferSize - 1] = '\0';
}

} // namespace

CORVELIN_PLUGIN_EXPORT void SetRegistryPath(char* section)
{
    try {
        g_settingsSection = section != nullptr ? std::string(section, strnlen(section, kPluginBufferSize)) : "";
    } catch (...) {
        g_settingsSection.clear();
    }
}

CORVELIN_PLUGIN_EXPORT int IsFileReadable(const char* path, int showMessages)
{
    if (path == nullptr)
        return EINVAL;
    const int code = amdis::CheckEluFile(path);
    if (code != 0 && showMessages != 0) {
        try {
            ShowMessage(code == EINVAL ? "'" + std::string(path) + "' is not an AMDIS ELU file."
                                       : "Cannot open '" + std::string(path) + "': " + std::strerror(code),
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
        amdis::EluReadOptions options;
        options.keepFlaggedLines = KeepFlaggedLines();
        options.minAreaPercent = minAreaPercent;
        amdis::ReadEluFile(path, options, *chromatogram);
        return 0;
    } catch (const amdis::FormatError& error) {
        chromatogram->Clear();
        return fail(std::string("Malformed ELU file, ") + error.what());
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
    if (name != nullptr)
        CopyToBuffer(name, kDataSystemName);
}

CORVELIN_PLUGIN_EXPORT void GetMassSpecsReadFilter(std::string* filter, std::string* ending)
{
    try {
        if (filter != nullptr)
            *filter = kMassSpecsFilter;
        if (ending != nullptr)
            *ending = kMassSpecsEnding;
    } catch (...) {
    }
}

CORVELIN_PLUGIN_EXPORT int IsMassSpecsFileReadable(const char* path)
{
    return path != nullptr && amdis::IsSpectraFile(path) ? 1 : 0;
}

CORVELIN_PLUGIN_EXPORT int ReadMassSpecs(const char* path, PluginMassSpecArray* spectra, PluginStringArray* names)
{
    if (path == nullptr || spectra == nullptr || names == nullptr)
        return 1;
    try {
        std::vector<std::unique_ptr<CLibraryMassSpectrumData>> read;
        std::vector<std::string> readNames;
        amdis::ReadSpectraFile(path, KeepFlaggedLines(), read, readNames);
        spectra->reserve(spectra->size() + read.size());
        names->reserve(names->size() + readNames.size());
        for (auto& s : read)
            spectra->push_back(s.release()); // handed back through FreeMassSpecs
        for (auto& n : readNames)
            names->push_back(std::move(n));
        return 0;
    } catch (...) {
        return 1;
    }
}

CORVELIN_PLUGIN_EXPORT void FreeMassSpecs(PluginMassSpecArray* spectra, PluginStringArray* names)
{
    if (spectra != nullptr) {
        for (CLibraryMassSpectrumData* s : *spectra)
            delete s; // allocated by ReadMassSpecs
        spectra->clear();
    }
    if (names != nullptr)
        names->clear();
}
