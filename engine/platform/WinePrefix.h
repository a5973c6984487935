#pragma once
// The Wine prefix that hosts Windows programs (NIST MS Search) on this platform: its folder ($WINEPREFIX,
// default ~/.wine), its "win.ini", and the mapping between Unix paths and the Windows paths the hosted
// programs see, through the prefix's drive letters (dosdevices/<letter>: links).
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CORVELIN_ENGINE_EXPORT CWinePrefix {
public:
    // The prefix of the environment: $WINEPREFIX, else $HOME/.wine.
    CWinePrefix();
    explicit CWinePrefix(std::string folder);

    const std::string& Folder() const noexcept { return m_folder; }
    // <prefix>/drive_c/windows/win.ini
    std::string WinIniPath() const;

    // "C:\NIST\MSSEARCH" -> "<target of c:>/NIST/MSSEARCH"; a letter without a link maps C: to drive_c.
    // A text that is not a drive path is returned with its backslashes turned into slashes.
    std::string ToUnixPath(const std::string& windowsPath) const;
    // The Windows path of a Unix path: the drive whose link target is the longest leading folder of the path
    // (normally Z: for "/"), then the rest with backslashes. A path no drive reaches is returned unchanged.
    std::string ToWindowsPath(const std::string& unixPath) const;

private:
    std::string DriveTarget(char letter) const;
    std::string m_folder;
};

} // namespace corvelin
