#pragma once
// Reading reference spectra from a mass spectra file through the data-system plug-ins (the "Add ..." of the
// spectral include/exclude list): the first plug-in whose IsMassSpecsFileReadable accepts the file reads it with
// ReadMassSpecs; its spectra and names are copied through the archive format and handed back (FreeMassSpecs).
#include <memory>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/core/LibraryMassSpectrum.h"

namespace corvelin {

class CDatasystemPlugins;
class CSearchOptions;

struct CORVELIN_ENGINE_EXPORT MassSpecsFileContents {
    std::vector<std::unique_ptr<CLibraryMassSpectrumData>> Spectra;
    std::vector<std::string> Names; // one per spectrum
};

// Reads the spectra of path. plugins may be nullptr (no list). Returns false after showing the message when no
// plug-in accepts the file ("...Could not find feasable plugin.") or the chosen one lacks ReadMassSpecs. When a
// plug-in returns different numbers of spectra and names, only the pairs that exist on both sides are kept.
// @exception CUserException without a list or with an empty one, after
// "CSearchMassspecs::OnAdd: Error reading number of file types plugins."
// @exception CArchiveException when the plug-in's objects cannot be copied.
CORVELIN_ENGINE_EXPORT bool ReadMassSpecsFile(const CDatasystemPlugins* plugins, const std::string& path,
                                              MassSpecsFileContents& contents);

// Reads path as above and appends every spectrum to the options' spectral list under its name, inactive (it takes
// no effect until the user ticks it). Returns the number of spectra added, or -1 when the file was not read (the
// message was shown).
// @exception CUserException, CArchiveException as ReadMassSpecsFile.
CORVELIN_ENGINE_EXPORT int AddMassSpecsFromFile(const CDatasystemPlugins* plugins, const std::string& path,
                                                CSearchOptions& options);

} // namespace corvelin
