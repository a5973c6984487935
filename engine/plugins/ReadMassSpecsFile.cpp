#include "engine/plugins/ReadMassSpecsFile.h"

#include <algorithm>

#include "engine/core/Archive.h"
#include "engine/core/Exceptions.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/plugins/PluginInterface.h"

namespace corvelin {

namespace {

// Copies the plug-in's arrays into objects of the program's own by writing them to an in-memory archive and
// reading them back. A null spectrum pointer arrives as an empty spectrum.
void CopyThroughArchive(const PluginMassSpecArray& spectra, const PluginStringArray& names, const std::string& path,
                        MassSpecsFileContents& contents)
{
    const std::size_t count = std::min(spectra.size(), names.size());
    CArchive out;
    out.WriteCount(static_cast<std::uint32_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        CLibraryMassSpectrumData empty;
        out.WriteObject(spectra[i] ? spectra[i] : &empty);
        out.WriteString(names[i]);
    }

    const std::vector<std::uint8_t> bytes = out.TakeBytes();
    CArchive in(bytes, path, false);
    const std::uint32_t read = in.ReadCount();
    for (std::uint32_t i = 0; i < read; ++i) {
        std::unique_ptr<CSerializable> object = in.ReadObject("CLibraryMassSpectrumData");
        auto* spectrum = dynamic_cast<CLibraryMassSpectrumData*>(object.get());
        if (!spectrum)
            in.Fail(CArchiveException::BadClass, "spectrum expected");
        object.release();
        contents.Spectra.emplace_back(spectrum);
        contents.Names.push_back(in.ReadString());
    }
}

} // namespace

bool ReadMassSpecsFile(const CDatasystemPlugins* plugins, const std::string& path, MassSpecsFileContents& contents)
{
    if (!plugins || plugins->IsEmpty()) {
        const char* text = "CSearchMassspecs::OnAdd: Error reading number of file types plugins.";
        ShowMessage(text);
        throw CUserException(text);
    }

    CDatasystemPlugin* chosen = nullptr;
    for (int i = 0; i < plugins->GetCount() && !chosen; ++i) {
        CDatasystemPlugin* plugin = plugins->GetPlugin(i);
        if (!plugin || !plugin->HasModule())
            continue;
        const auto isReadable = plugin->Get<PFN_IsMassSpecsFileReadable>(PluginExport::IsMassSpecsFileReadable);
        if (isReadable && isReadable(path.c_str()) != 0)
            chosen = plugin;
    }
    if (!chosen) {
        ShowMessage("Error while reading mass specs from file '" + path + "'.\nCould not find feasable plugin.",
                    "Error", MessageIcon::Stop);
        return false;
    }

    const auto readMassSpecs = chosen->Get<PFN_ReadMassSpecs>(PluginExport::ReadMassSpecs);
    if (!readMassSpecs) {
        ShowMessage("Plugin Error: ReadMassSpecs function missing in '" + chosen->GetModulePath() + "'.\n",
                    "Plugin Error", MessageIcon::Stop);
        return false;
    }

    PluginMassSpecArray spectra;
    PluginStringArray names;
    const auto freeMassSpecs = chosen->Get<PFN_FreeMassSpecs>(PluginExport::FreeMassSpecs);
    try {
        readMassSpecs(path.c_str(), &spectra, &names);
        CopyThroughArchive(spectra, names, path, contents);
    } catch (...) {
        if (freeMassSpecs)
            freeMassSpecs(&spectra, &names);
        contents = {};
        throw;
    }
    // The objects belong to the plug-in: without FreeMassSpecs they are left to it.
    if (freeMassSpecs)
        freeMassSpecs(&spectra, &names);
    return true;
}

int AddMassSpecsFromFile(const CDatasystemPlugins* plugins, const std::string& path, CSearchOptions& options)
{
    MassSpecsFileContents contents;
    if (!ReadMassSpecsFile(plugins, path, contents))
        return -1;
    for (std::size_t j = 0; j < contents.Spectra.size(); ++j)
        options.AddSpectrum(contents.Names[j], *contents.Spectra[j], false);
    return static_cast<int>(contents.Spectra.size());
}

} // namespace corvelin
