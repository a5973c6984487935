#pragma once
// Sending one mass spectrum to NIST MS Search, which runs under Wine on this platform: the spectrum is written
// to a temporary ".jdx" text file, a ".cvls" locator file names it, "autoimp.msd" in NIST's work folder names
// the locator, and "nistms$.exe /instrument" is started with wine without waiting. The installation and work
// folders come from section "NISTMS" ("Path32", "WorkDir32") of the prefix's win.ini; the files hold the
// Windows form of the paths. The temporary files are deleted at program end; "autoimp.msd" stays.
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CLibraryMassSpectrumData;
class CWinePrefix;

// Errors are shown to the user: "Corvelinscope was unable to determine the NIST installation and/or the NIST
// work path." when win.ini lacks either value, and a message when "wine" is not on the PATH (nothing is written
// in both cases; both point to the manual's set-up section), the system's description of a file error when a
// file cannot be written (NIST MS Search is then not started).
CORVELIN_ENGINE_EXPORT void SearchInNist(const CLibraryMassSpectrumData& spectrum, const std::string& name,
                                         const std::string& comment, const CWinePrefix& prefix);
// The same with the prefix of the environment ($WINEPREFIX, else ~/.wine).
CORVELIN_ENGINE_EXPORT void SearchInNist(const CLibraryMassSpectrumData& spectrum, const std::string& name,
                                         const std::string& comment);

// The spectrum text as written (a text-mode file of lines that already end in CR LF: CR CR LF on disk).
CORVELIN_ENGINE_EXPORT std::string NistSpectrumFileBytes(const CLibraryMassSpectrumData& spectrum,
                                                         const std::string& name, const std::string& comment);

// The temporary files made so far in this run, and their deletion (also done at program end).
CORVELIN_ENGINE_EXPORT std::vector<std::string> NistTemporaryFiles();
CORVELIN_ENGINE_EXPORT void DeleteNistTemporaryFiles();

} // namespace corvelin
