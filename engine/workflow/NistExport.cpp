#include "engine/workflow/NistExport.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/core/LibraryMassSpectrum.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/platform/PrivateProfile.h"
#include "engine/platform/TextFile.h"
#include "engine/platform/WinePrefix.h"

namespace corvelin {

namespace {

constexpr const char* kPathReadError = "**path read error**";

// The process-wide list of temporary files; deleted when the program ends.
class TemporaryFiles {
public:
    ~TemporaryFiles() { DeleteAll(); }
    void Add(const std::string& path)
    {
        std::lock_guard lock(m_mutex);
        m_files.push_back(path);
    }
    std::vector<std::string> List()
    {
        std::lock_guard lock(m_mutex);
        return m_files;
    }
    void DeleteAll()
    {
        std::lock_guard lock(m_mutex);
        for (const std::string& file : m_files)
            ::unlink(file.c_str());
        m_files.clear();
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_files;
};

TemporaryFiles& Temporaries()
{
    static TemporaryFiles files;
    return files;
}

constexpr const char* kNistSetUpHint =
    "The manual's section \"NIST MS Search through Wine\" (Reference) tells how to set it up.";

// Whether an executable of that name is in one of the PATH's folders.
bool IsOnPath(const char* program)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string folder = folders.substr(start, end - start);
        const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

std::string TemporaryFolder()
{
    const char* dir = std::getenv("TMPDIR");
    std::string folder = dir && *dir ? dir : "/tmp";
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

std::string JoinWindows(std::string folder, const char* name)
{
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder + name;
}

// Creates (or truncates) the file and writes the bytes; shows the system's description of a failure.
bool WriteFile(const std::string& path, const std::string& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        ShowMessage(std::strerror(errno), {}, MessageIcon::Stop);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const int err = errno;
    if (std::fclose(f) != 0 || !written) {
        ShowMessage(std::strerror(written ? errno : err), {}, MessageIcon::Stop);
        return false;
    }
    return true;
}

// Starts "wine <program> /instrument" detached: the intermediate child exits at once, so nothing waits on
// NIST MS Search and no zombie is left.
void StartDetached(const std::string& program)
{
    const pid_t child = ::fork();
    if (child < 0)
        return;
    if (child == 0) {
        if (::fork() == 0) {
            ::setsid();
            const int null = ::open("/dev/null", O_RDWR);
            if (null >= 0) {
                ::dup2(null, STDIN_FILENO);
                ::dup2(null, STDOUT_FILENO);
                ::dup2(null, STDERR_FILENO);
            }
            ::execlp("wine", "wine", program.c_str(), "/instrument", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

std::string NistSpectrumFileBytes(const CLibraryMassSpectrumData& spectrum, const std::string& name,
                                  const std::string& comment)
{
    std::string text = "NAME: " + name + "\r\n";
    text += "COMMENT: " + comment + "\r\n";
    text += FormatC("Num Peaks: %2i\r\n", static_cast<int>(spectrum.GetCount()));
    for (const CLibraryMassSpectrumPoint& point : spectrum.Points())
        text += FormatC("%.1f %.1f\r\n", point.Mass, point.Intensity);
    return TextModeBytes(text);
}

void SearchInNist(const CLibraryMassSpectrumData& spectrum, const std::string& name, const std::string& comment,
                  const CWinePrefix& prefix)
{
    const std::string winIni = prefix.WinIniPath();
    std::string temp = TemporaryFolder() + "CVLXXXXXX.tmp";
    const int fd = ::mkstemps(temp.data(), 4);
    if (fd < 0)
        return;
    ::close(fd);
    Temporaries().Add(temp);
    const std::string base = temp.substr(0, temp.size() - 4);
    const std::string spectrumFile = base + ".jdx";
    const std::string locatorFile = base + ".cvls";

    const std::string installation = GetPrivateProfileText(winIni, "NISTMS", "Path32", kPathReadError, 260);
    const std::string workFolder = GetPrivateProfileText(winIni, "NISTMS", "WorkDir32", kPathReadError, 260);
    if (installation == kPathReadError || workFolder == kPathReadError) {
        ShowMessage("Corvelinscope was unable to determine the NIST installation and/or the NIST work path.\n\n"
                    "It reads them from section [NISTMS] of " +
                        winIni + ". " + kNistSetUpHint,
                    "Corvelinscope", MessageIcon::Stop);
        return;
    }
    if (!IsOnPath("wine")) {
        ShowMessage(std::string("NIST MS Search runs under Wine, but the program \"wine\" is not on the PATH.\n\n") +
                        kNistSetUpHint,
                    "Corvelinscope", MessageIcon::Stop);
        return;
    }
    const std::string autoImport = prefix.ToUnixPath(JoinWindows(workFolder, "autoimp.msd"));
    const std::string program = JoinWindows(installation, "nistms$.exe");

    Temporaries().Add(spectrumFile);
    if (!WriteFile(spectrumFile, NistSpectrumFileBytes(spectrum, name, comment)))
        return;
    Temporaries().Add(locatorFile);
    if (!WriteFile(locatorFile, prefix.ToWindowsPath(spectrumFile)))
        return;
    if (!WriteFile(autoImport, prefix.ToWindowsPath(locatorFile)))
        return;
    StartDetached(program);
}

void SearchInNist(const CLibraryMassSpectrumData& spectrum, const std::string& name, const std::string& comment)
{
    SearchInNist(spectrum, name, comment, CWinePrefix());
}

std::vector<std::string> NistTemporaryFiles()
{
    return Temporaries().List();
}

void DeleteNistTemporaryFiles()
{
    Temporaries().DeleteAll();
}

} // namespace corvelin
