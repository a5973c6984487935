#include "engine/options/SettingsFileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

#include "engine/options/ProgramSettingsStore.h"

namespace corvelin {

namespace {

std::mutex g_processMutex;

std::string LockFilePath()
{
    if (UseIniSettings()) {
        const std::string ini = SettingsIniPath();
        return ini.empty() ? std::string() : ini + ".lock";
    }
    if (auto* program = dynamic_cast<CProgramSettingsStore*>(&Settings())) {
        std::string folder = program->Location().RegistryFolder;
        if (!folder.empty() && folder.back() != '/')
            folder += '/';
        return folder + "settings.lock";
    }
    return {};
}

} // namespace

CSettingsFileLock::CSettingsFileLock() : m_processLock(g_processMutex)
{
    const std::string path = LockFilePath();
    if (path.empty())
        return;
    m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (m_fd < 0)
        return;
    while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

CSettingsFileLock::~CSettingsFileLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // releases the lock
}

} // namespace corvelin
