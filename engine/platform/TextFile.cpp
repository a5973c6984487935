#include "engine/platform/TextFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/core/Exceptions.h"
#include "engine/platform/PendingTemporaryFile.h"

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

namespace {

// Writes bytes to a new temporary file beside path (same file system, so a rename or link is atomic) and returns
// its name; the caller renames or links it into place and must unlink it on failure. Created exclusively with
// the usual permissions (0666 less the umask).
std::string WriteTemporaryBeside(const std::string& path, std::string_view bytes)
{
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
    const CPendingTemporaryFile pending(temp); // a signal that ends the program meanwhile removes it
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
    if (err != 0) {
        ::unlink(temp.c_str());
        Fail(path, err);
    }
    return temp;
}

// path with " (n)" before its extension (the part from the last "." of the file name on).
std::string NumberedName(const std::string& path, int n)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    const std::size_t cut =
        dot != std::string::npos && (slash == std::string::npos || dot > slash + 1) ? dot : path.size();
    return path.substr(0, cut) + " (" + std::to_string(n) + ")" + path.substr(cut);
}

} // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    const std::string temp = WriteTemporaryBeside(path, bytes);
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        Fail(path, err);
    }
}

std::string FreeFileName(const std::string& path)
{
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return path;
    for (int n = 2; n < 100000; ++n) {
        const std::string candidate = NumberedName(path, n);
        if (::lstat(candidate.c_str(), &st) != 0)
            return candidate;
    }
    return path;
}

std::string WriteTextFileUnderFreeName(const std::string& path, std::string_view text)
{
    const std::string temp = WriteTemporaryBeside(path, TextModeBytes(text));
    // link() puts the file in place only when the name is free, atomically, so even two programs writing the
    // same name at once keep both files.
    for (int n = 1; n < 100000; ++n) {
        const std::string candidate = n == 1 ? path : NumberedName(path, n);
        if (::link(temp.c_str(), candidate.c_str()) == 0) {
            ::unlink(temp.c_str());
            return candidate;
        }
        if (errno == EEXIST)
            continue;
        if (errno == EPERM || errno == ENOTSUP || errno == EOPNOTSUPP || errno == EXDEV || errno == EMLINK) {
            // A file system without hard links: a free name, then a rename.
            const std::string free = FreeFileName(candidate);
            if (std::rename(temp.c_str(), free.c_str()) == 0)
                return free;
        }
        const int err = errno;
        ::unlink(temp.c_str());
        Fail(path, err);
    }
    ::unlink(temp.c_str());
    Fail(path, EEXIST);
}

void WriteTextFile(const std::string& path, std::string_view text)
{
    WriteFileAtomically(path, TextModeBytes(text));
}

} // namespace corvelin
