#include "engine/plugins/ReadFromDataFile.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <sys/stat.h>

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

// Why a plug-in cannot read at all: no module (it failed to load) or no read export. Empty when it can.
std::string WhyPluginCannotRead(CDatasystemPlugin& plugin)
{
    if (!plugin.HasModule()) {
        std::string text = "the plug-in module " + plugin.GetModulePath() + " is not loaded";
        if (!plugin.GetLoadError().empty())
            text += " (" + plugin.GetLoadError() + ")";
        return text;
    }
    if (!plugin.Get<PFN_ReadFromDataSystem>(PluginExport::ReadFromDataSystem))
        return "the plug-in module " + plugin.GetModulePath() + " does not export ReadFromDataSystem";
    return {};
}

// Lets the plug-in fill the exchange record and copies it into target. ResetChromatogram is called exactly once,
// on success and on every failure; after a failure target is empty. A plug-in without a module or without the
// read export fails like a refused read: an empty chromatogram must never pass for the file's contents.
void ReadThroughPlugin(CDatasystemPlugin& plugin, CLibraryChromatogram& target, const std::string& path,
                       double minAreaPercent, bool showMessages)
{
    const auto reset = plugin.Get<PFN_ResetChromatogram>(PluginExport::ResetChromatogram);
    CLibraryChromatogram exchange;
    try {
        const auto read = plugin.Get<PFN_ReadFromDataSystem>(PluginExport::ReadFromDataSystem);
        std::string errorText = WhyPluginCannotRead(plugin);
        const int code = errorText.empty() ? read(path.c_str(), &exchange, minAreaPercent, &errorText) : EIO;
        if (code == ENOMEM)
            throw std::bad_alloc(); // the plug-in ran out of memory: not a fault of the file
        if (code != 0) {
            const std::string text = "Error while reading data file " + path + ":\n'" + errorText + "'.";
            if (showMessages)
                ShowMessage(text, {}, MessageIcon::Stop);
            throw CArchiveException(CArchiveException::BadClass, path, errorText, code);
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

CDatasystemPlugin* ChooseDataFilePlugin(const CDatasystemPlugins& plugins, const std::string& path, bool showMessages)
{
    if (plugins.IsEmpty()) {
        const std::string text = "No plugins loaded. Can't read file '" + path + "'.";
        ShowMessage(text);
        throw CUserException(text);
    }

    // A FIFO, socket or device would make a plug-in wait for data forever (or read endlessly): refused at once.
    // Folders stay readable, as some data systems keep a run in one.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
        const std::string text =
            "Error reading file '" + path + "'\nError = not a regular file (a pipe, socket or device)";
        ShowMessage(text);
        throw CNotSupportedException(text);
    }

    CDatasystemPlugin* plugin = nullptr;
    int lastError = 0;
    try {
        plugin = ChoosePlugin(plugins, path, showMessages, lastError);
    } catch (const std::exception&) {
        return nullptr;
    }
    if (!plugin) {
        const std::string text = lastError == 0
                                     ? "No matching plugin found. Can't read file '" + path + "'."
                                     : "Error reading file '" + path + "'\nError = " + std::strerror(lastError);
        ShowMessage(text);
        throw CNotSupportedException(text, lastError);
    }
    return plugin;
}

int ReadFromDataFile(CLibraryChromatogram& target, const std::string& path, double minAreaPercent,
                     std::string* dataSystemName, bool showMessages)
{
    return ReadFromDataFile(DatasystemPlugins(), target, path, minAreaPercent, dataSystemName, showMessages);
}

int ReadFromDataFile(const CDatasystemPlugins& plugins, CLibraryChromatogram& target, const std::string& path,
                     double minAreaPercent, std::string* dataSystemName, bool showMessages)
{
    CDatasystemPlugin* plugin = ChooseDataFilePlugin(plugins, path, showMessages);
    if (!plugin)
        return 0;

    target.Clear();
    ReadThroughPlugin(*plugin, target, path, minAreaPercent, showMessages);
    target.NumberPeaks();

    if (dataSystemName)
        *dataSystemName = DataSystemNameOf(*plugin);
    return 1;
}

std::string DataSystemNameOf(CDatasystemPlugin& plugin)
{
    const auto getName = plugin.Get<PFN_GetDataSystemName>(PluginExport::GetDataSystemName);
    if (!getName)
        return {};
    char buffer[kPluginBufferSize] = {};
    getName(buffer);
    buffer[kPluginBufferSize - 1] = '\0';
    return buffer;
}

} // namespace corvelin
