#include "engine/platform/TextFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
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

constexpr std::size_t kNameMax = 255; // bytes of one file name on the usual Linux file systems

// Writes all bytes to fd; 0 or the errno of the failing write.
int WriteAll(int fd, std::string_view bytes)
{
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return 0;
}

// The name of a temporary file beside path: path's folder, its file name cut (at a character boundary) so that
// the name with suffix stays within kNameMax bytes, then the suffix.
std::string TemporaryName(const std::string& path, const std::string& suffix)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t keep = path.size() - nameStart;
    if (keep + suffix.size() > kNameMax) {
        keep = kNameMax > suffix.size() ? kNameMax - suffix.size() : 0;
        while (keep > 0 && (static_cast<unsigned char>(path[nameStart + keep]) & 0xC0) == 0x80)
            --keep; // never split a UTF-8 sequence
    }
    return path.substr(0, nameStart + keep) + suffix;
}

// A temporary file beside its target (same file system, so a rename or link is atomic) holding the bytes. While
// the object lives the file is listed for removal by a terminating signal; the caller renames or links it into
// place, and the destructor removes it unless Keep() was called.
class CTemporaryBeside {
public:
    CTemporaryBeside(const std::string& path, std::string_view bytes)
    {
        static std::atomic<unsigned> counter{0};
        int fd = -1;
        for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
            m_name =
                TemporaryName(path, ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1)));
            fd = ::open(m_name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 && errno != EEXIST)
                break;
        }
        if (fd < 0)
            Fail(path, errno);
        m_pending.emplace(m_name); // listed from creation until renamed or removed
        int err = WriteAll(fd, bytes);
        if (err == 0 && ::fsync(fd) != 0)
            err = errno;
        if (::close(fd) != 0 && err == 0)
            err = errno;
        if (err != 0) {
            ::unlink(m_name.c_str());
            Fail(path, err);
        }
    }
    ~CTemporaryBeside()
    {
        if (!m_kept)
            ::unlink(m_name.c_str());
    }
    CTemporaryBeside(const CTemporaryBeside&) = delete;
    CTemporaryBeside& operator=(const CTemporaryBeside&) = delete;

    const std::string& Name() const noexcept { return m_name; }
    void Keep() noexcept { m_kept = true; }

private:
    std::string m_name;
    std::optional<CPendingTemporaryFile> m_pending;
    bool m_kept = false;
};

// path with " (n)" before its extension (the part from the last "." of the file name on).
std::string NumberedName(const std::string& path, int n)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    const std::size_t cut =
        dot != std::string::npos && (slash == std::string::npos || dot > slash + 1) ? dot : path.size();
    return path.substr(0, cut) + " (" + std::to_string(n) + ")" + path.substr(cut);
}

// Writes into a device, FIFO or socket in place: such a target is a channel, not a file to be replaced.
void WriteIntoSpecialFile(const std::string& path, std::string_view bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        Fail(path, errno);
    int err = WriteAll(fd, bytes);
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err != 0)
        Fail(path, err);
}

} // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    std::string target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        // The link stays; the file it names is written. A link to nothing is refused rather than replaced.
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (!resolved)
            Fail(path, errno);
        target = resolved;
        std::free(resolved);
        if (::lstat(target.c_str(), &st) != 0)
            Fail(path, errno);
    }
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode))
            Fail(path, EISDIR);
        if (!S_ISREG(st.st_mode)) {
            WriteIntoSpecialFile(target, bytes);
            return;
        }
    }
    CTemporaryBeside temp(target, bytes);
    if (std::rename(temp.Name().c_str(), target.c_str()) != 0)
        Fail(path, errno);
    temp.Keep();
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
    CTemporaryBeside temp(path, TextModeBytes(text));
    // link() puts the file in place only when the name is free, atomically, so even two programs writing the
    // same name at once keep both files.
    for (int n = 1; n < 100000; ++n) {
        const std::string candidate = n == 1 ? path : NumberedName(path, n);
        if (::link(temp.Name().c_str(), candidate.c_str()) == 0)
            return candidate; // the temporary name goes with temp
        if (errno == EEXIST)
            continue;
        if (errno == EPERM || errno == ENOTSUP || errno == EOPNOTSUPP || errno == EXDEV || errno == EMLINK) {
            // A file system without hard links: a free name, then a rename.
            const std::string free = FreeFileName(candidate);
            if (std::rename(temp.Name().c_str(), free.c_str()) == 0) {
                temp.Keep();
                return free;
            }
        }
        Fail(path, errno);
    }
    Fail(path, EEXIST);
}

void WriteTextFile(const std::string& path, std::string_view text)
{
    WriteFileAtomically(path, TextModeBytes(text));
}

} // namespace corvelin
