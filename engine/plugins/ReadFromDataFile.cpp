#include "engine/plugins/ReadFromDataFile.h"

#include <cstdio>
#include <cstring>
#include <exception>

#include "engine/core/Exceptions.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/plugins/PluginInterface.h"

namespace corvelin {

namespace {

// Finds the plug-in for path: the first whose Extension matches and that has no module, no IsFileReadable
// export, or answers 0. lastError receives the last refusal's code (0 when none refused).
CDatasystemPlugin* ChoosePlugin(const CDatasystemPlugins& plugins, const std::string& path, bool showMessages,
                                int& lastError)
{
    lastError = 0;
    for (int i = 0; i < plugins.GetCount(); ++i) {
        CDatasystemPlugin* plugin = plugins.GetPlugin(i);
        if (!plugin || !plugin->MatchesExtension(path))
            continue;
        const auto isReadable = plugin->Get<PFN_IsFileReadable>(PluginExport::IsFileReadable);
        if (!isReadable)
            return plugin;
        const int code = isReadable(path.c_str(), showMessages ? 1 : 0);
        if (code == 0)
            return plugin;
        lastError = code;
    }
    return nullptr;
}

// Lets the plug-in fill the exchange record and copies it into target. ResetChromatogram is called exactly once,
// on success and on every failure; after a failure target is empty.
void ReadThroughPlugin(CDatasystemPlugin& plugin, CLibraryChromatogram& target, const std::string& path,
                       double minAreaPercent, bool showMessages)
{
    const auto reset = plugin.Get<PFN_ResetChromatogram>(PluginExport::ResetChromatogram);
    CLibraryChromatogram exchange;
    try {
        const auto read = plugin.Get<PFN_ReadFromDataSystem>(PluginExport::ReadFromDataSystem);
        if (read) {
            std::string errorText;
            if (read(path.c_str(), &exchange, minAreaPercent, &errorText) != 0) {
                const std::string text = "Error while reading data file " + path + ":\n'" + errorText + "'.";
                if (showMessages)
                    ShowMessage(text, {}, MessageIcon::Stop);
                throw CArchiveException(CArchiveException::BadClass, path, errorText);
            }
        }
        exchange.SourcePath = path;
        target.CopyFrom(exchange);
    } catch (...) {
        if (reset)
            reset(&exchange);
        target.Clear();
        throw;
    }
    if (reset)
        reset(&exchange);
}

} // namespace

int ReadFromDataFile(CLibraryChromatogram& target, const std::string& path, double minAreaPercent,
                     std::string* dataSystemName, bool showMessages)
{
    return ReadFromDataFile(DatasystemPlugins(), target, path, minAreaPercent, dataSystemName, showMessages);
}

int ReadFromDataFile(const CDatasystemPlugins& plugins, CLibraryChromatogram& target, const std::string& path,
                     double minAreaPercent, std::string* dataSystemName, bool showMessages)
{
    if (plugins.IsEmpty()) {
        const std::string text = "No plugins loaded. Can't read file '" + path + "'.";
        ShowMessage(text);
        throw CUserException(text);
    }

    CDatasystemPlugin* plugin = nullptr;
    int lastError = 0;
    try {
        plugin = ChoosePlugin(plugins, path, showMessages, lastError);
    } catch (const std::exception&) {
        return 0;
    }
    if (!plugin) {
        const std::string text = lastError == 0
                                     ? "No matching plugin found. Can't read file '" + path + "'."
                                     : "Error reading file '" + path + "'\nError = " + std::strerror(lastError);
        ShowMessage(text);
        throw CNotSupportedException(text);
    }

    target.Clear();
    ReadThroughPlugin(*plugin, target, path, minAreaPercent, showMessages);
    target.NumberPeaks();

    if (dataSystemName) {
        dataSystemName->clear();
        if (const auto getName = plugin->Get<PFN_GetDataSystemName>(PluginExport::GetDataSystemName)) {
            char buffer[kPluginBufferSize] = {};
            getName(buffer);
            buffer[kPluginBufferSize - 1] = '\0';
            *dataSystemName = buffer;
        }
    }
    return 1;
}

} // namespace corvelin
