#include "engine/platform/WholeFile.h"

#include <cerrno>
#include <filesystem>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/core/Exceptions.h"
#include "engine/platform/TextFile.h"

namespace corvelin {

WholeFileRead ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes)
{
    bytes.clear();
    // Opened without blocking, so a FIFO without a writer cannot hang the caller; only regular files are read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? WholeFileRead::Missing : WholeFileRead::Failed;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::fcntl(fd, F_SETFL, 0) != 0) {
        ::close(fd);
        return WholeFileRead::Failed;
    }
    // Read in chunks without trusting st_size (pipes, files growing meanwhile), stopping past the bound.
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            bytes.clear();
            return WholeFileRead::Failed;
        }
        if (n == 0)
            break;
        if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
            ::close(fd);
            bytes.clear();
            return WholeFileRead::TooLarge;
        }
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return WholeFileRead::Read;
}

bool WriteWholeFileAtomically(const std::string& path, const std::string& bytes, bool createFolders)
{
    std::error_code ec;
    const std::filesystem::path target(path);
    if (createFolders && target.has_parent_path())
        std::filesystem::create_directories(target.parent_path(), ec);
    try {
        WriteFileAtomically(path, bytes);
    } catch (const CFileException&) {
        return false;
    }
    return true;
}

FolderWriteLock::FolderWriteLock(const std::string& path)
{
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    m_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0)
        return;
    while (::flock(m_fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(m_fd);
            m_fd = -1;
            return;
        }
    }
}

FolderWriteLock::~FolderWriteLock()
{
    if (m_fd >= 0)
        ::close(m_fd); // closing releases the lock
}

} // namespace corvelin
