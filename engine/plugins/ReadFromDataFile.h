#pragma once
// Reading a chromatogram data file through the data-system plug-ins: choose the plug-in by file ending and its
// IsFileReadable answer, let it fill an exchange record, deep-copy the record into the caller's chromatogram
// (CLibraryChromatogram::CopyFrom) and hand the record back to the plug-in (ResetChromatogram).
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CLibraryChromatogram;
class CDatasystemPlugins;
class CDatasystemPlugin;

// The plug-in that reads path: the first whose Extension matches and that has no module, no IsFileReadable export,
// or answers 0 (showMessages is handed to IsFileReadable). nullptr when an engine exception escapes from a plug-in
// while one is being chosen. The exceptions are those of ReadFromDataFile's choice, below.
CORVELIN_ENGINE_EXPORT CDatasystemPlugin* ChooseDataFilePlugin(const CDatasystemPlugins& plugins,
                                                               const std::string& path, bool showMessages);
// Reads path into target with the process-wide plug-in list. minAreaPercent is handed unchanged to the plug-in
// (0 = all peaks). dataSystemName, when given, receives the plug-in's GetDataSystemName text (empty when it has
// none). showMessages is handed to IsFileReadable and controls the message for a plug-in's read error.
// Returns 1 on success: target holds the peaks numbered 1 ... n and SourcePath = path. Returns 0 without a
// message when an engine exception escapes from a plug-in while one is being chosen.
// @exception CUserException when no plug-in is loaded ("No plugins loaded. Can't read file '<path>'.")
// @exception CNotSupportedException when no plug-in takes the file (message shown whatever showMessages says)
// @exception CArchiveException (BadClass, path) when the plug-in's ReadFromDataSystem fails; target is then empty
// and the plug-in's ResetChromatogram has been called once. Exceptions from the plug-in's read pass on the same way.
CORVELIN_ENGINE_EXPORT int ReadFromDataFile(CLibraryChromatogram& target, const std::string& path,
                                            double minAreaPercent, std::string* dataSystemName, bool showMessages);
// The same with a given plug-in list.
CORVELIN_ENGINE_EXPORT int ReadFromDataFile(const CDatasystemPlugins& plugins, CLibraryChromatogram& target,
                                            const std::string& path, double minAreaPercent, std::string* dataSystemName,
                                            bool showMessages);

// The plug-in's GetDataSystemName text (empty when it has none).
CORVELIN_ENGINE_EXPORT std::string DataSystemNameOf(CDatasystemPlugin& plugin);

} // namespace corvelin
