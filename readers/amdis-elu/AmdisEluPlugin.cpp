// The AMDIS reader module: deconvolved peak lists from .ELU files as chromatograms, and .MSL libraries (and the
// component spectra of .ELU files) as spectra for the include/exclude list. Nothing thrown inside crosses the
// C boundary: every export turns errors into its documented result.
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "readers/amdis-elu/AmdisFiles.h"
#include "readers/amdis-elu/EluParser.h"
#include "engine/platform/MessageSink.h"
#include "engine/options/SettingsStore.h"
#include "engine/plugins/PluginInterface.h"

namespace corvelin {

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

// Caption of the module's own messages, and how many reasons a message lists at most.
constexpr const char* kReaderCaption = "AMDIS Reader";
constexpr std::size_t kListedReasons = 5;

void ShowSafely(const std::string& text) noexcept
{
    try {
        ShowMessage(text, kReaderCaption, MessageIcon::Stop);
    } catch (...) {
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
    return peaklist::IsFileReadableExport(path, showMessages, [](const std::string& file, std::string& reason) {
        const int code = amdis::CheckEluFile(file);
        if (code == EINVAL)
            reason = "'" + file + "' is not an AMDIS ELU file.";
        return code;
    });
}

CORVELIN_PLUGIN_EXPORT int ReadFromDataSystem(const char* path, CLibraryChromatogram* chromatogram,
                                              double minAreaPercent, std::string* errorText)
{
    return peaklist::ReadFromDataSystemExport<amdis::FormatError>(
        path, chromatogram, errorText, "Malformed ELU file, ",
        [minAreaPercent](const std::string& file, CLibraryChromatogram& read) {
            amdis::EluReadOptions options;
            options.keepFlaggedLines = KeepFlaggedLines();
            options.minAreaPercent = minAreaPercent;
            amdis::ReadEluFile(file, options, read);
        });
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

// The result is ignored by the program, so a failure is told to the user here. An MSL library with malformed
// entries still gives its good ones, with a warning that lists why the others were left out.
CORVELIN_PLUGIN_EXPORT int ReadMassSpecs(const char* path, PluginMassSpecArray* spectra, PluginStringArray* names)
{
    if (path == nullptr || spectra == nullptr || names == nullptr)
        return 1;
    try {
        std::vector<std::unique_ptr<CLibraryMassSpectrumData>> read;
        std::vector<std::string> readNames;
        const std::vector<std::string> skipped = amdis::ReadSpectraFile(path, KeepFlaggedLines(), read, readNames);
        spectra->reserve(spectra->size() + read.size());
        names->reserve(names->size() + readNames.size());
        for (auto& s : read)
            spectra->push_back(s.release()); // handed back through FreeMassSpecs
        for (auto& n : readNames)
            names->push_back(std::move(n));
        if (!skipped.empty()) {
            std::string text = std::to_string(skipped.size()) + " malformed entries of '" + path + "' were left out:";
            for (std::size_t i = 0; i < skipped.size() && i < kListedReasons; ++i)
                text += "\n" + skipped[i];
            if (skipped.size() > kListedReasons)
                text += "\n...";
            ShowMessage(text, kReaderCaption, MessageIcon::Exclamation);
        }
        return 0;
    } catch (const amdis::FormatError& error) {
        ShowSafely(std::string("The spectra file '") + path + "' is not a valid ELU file:\n" + error.what());
    } catch (const std::exception& error) {
        ShowSafely(std::string("Could not read the spectra file '") + path + "':\n" + error.what());
    } catch (...) {
        ShowSafely(std::string("Could not read the spectra file '") + path + "'.");
    }
    return 1;
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

} // namespace corvelin
