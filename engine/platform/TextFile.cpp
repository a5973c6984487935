#include "engine/platform/TextFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/core/Exceptions.h"

namespace corvelin {

std::string TextModeBytes(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 2);
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

namespace {

[[noreturn]] void Fail(const std::string& path, int err)
{
    throw CFileException(CFileException::CauseFromErrno(err), path, err);
}

} // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    // A unique name beside the target (same file system, so the rename is atomic); created exclusively with
    // the usual permissions (0666 less the umask).
    static std::atomic<unsigned> counter{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        Fail(path, errno);
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    int err = 0;
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            break;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (err == 0 && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err == 0 && std::rename(temp.c_str(), path.c_str()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(temp.c_str());
        Fail(path, err);
    }
}

void WriteTextFile(const std::string& path, std::string_view text)
{
    WriteFileAtomically(path, TextModeBytes(text));
}

} // namespace corvelin
