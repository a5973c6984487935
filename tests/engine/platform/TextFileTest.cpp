#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <iterator>
#include <sys/ptrace.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/user.h>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/core/Exceptions.h"
#include "engine/platform/PendingTemporaryFile.h"
#include "engine/platform/TextFile.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

TEST(TextFile, TextModeTurnsEveryNewlineIntoCrLf)
{
    EXPECT_EQ(TextModeBytes("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(TextModeBytes("x\r\n"), "x\r\r\n");
    EXPECT_EQ(TextModeBytes(""), "");
}

TEST(TextFile, ReplacesAnExistingFileWholeAndLeavesNoTemporaryFile)
{
    TempDir dir;
    const std::string path = dir.File("report.csv");
    WriteAllText(path, "old content that is longer than the new one");
    WriteTextFile(path, "new\n");
    EXPECT_EQ(ReadAllText(path), "new\r\n");
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);
}

TEST(TextFile, MissingFolderThrowsFileNotFoundAndCreatesNothing)
{
    TempDir dir;
    const std::string path = dir.File("no/such/folder/x.csv");
    try {
        WriteFileAtomically(path, "x");
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetCause(), CFileException::FileNotFound);
        EXPECT_EQ(e.GetPath(), path);
        EXPECT_EQ(e.GetOsError(), ENOENT);
    }
}

int CountEntries(const std::filesystem::path& dir)
{
    const std::filesystem::directory_iterator entries(dir);
    return static_cast<int>(std::distance(begin(entries), end(entries)));
}

// A FIFO stays a FIFO and its reader gets the bytes; a link stays a link and its file gets them; a link to nothing
// is refused. Names up to 255 bytes are written (the temporary name is cut to fit).
TEST(TextFile, NeverReplacesAFifoOrALinkAndTakesNamesUpToTheLimit)
{
    TempDir dir;
    const std::string fifo = dir.File("pipe"), file = dir.File("real.csv"), link = dir.File("link.csv");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    WriteTextFile(fifo, "a\n");
    char received[8] = {};
    EXPECT_EQ(::read(reader, received, sizeof received), 3);
    ::close(reader);
    WriteAllText(file, "old");
    std::filesystem::create_symlink(file, link);
    WriteTextFile(link, "new\n");
    std::filesystem::create_symlink(dir.File("nothing/x.csv"), dir.File("dangling"));
    EXPECT_THROW(WriteTextFile(dir.File("dangling"), "x\n"), CFileException);
    EXPECT_EQ(ReadAllText(file), "new\r\n");
    EXPECT_TRUE(std::filesystem::is_fifo(std::filesystem::symlink_status(fifo)));
    EXPECT_TRUE(std::filesystem::is_symlink(link) && std::filesystem::is_symlink(dir.File("dangling")));
    for (const std::size_t length : {246u, 255u}) {
        WriteTextFile(dir.File(std::string(length, 'n')), "x\n");
        EXPECT_EQ(ReadAllText(dir.File(std::string(length, 'n'))), "x\r\n") << length;
    }
}

// A SIGTERM just before the temporary file is put in place (a tracer stops the program at the rename, skips it
// and delivers the signal) removes the temporary file in a program that installed the cleanup.
#if defined(__x86_64__)
TEST(TextFile, ATerminatingSignalBeforeTheRenameLeavesNoTemporaryFile)
{
    TempDir dir;
    const pid_t child = ::fork();
    if (child == 0) {
        InstallTemporaryFileCleanup();
        ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        ::raise(SIGSTOP);
        WriteTextFile(dir.File("export.csv"), "row\n");
        ::_exit(0);
    }
    int status = 0;
    for (::waitpid(child, &status, 0); WIFSTOPPED(status); ::waitpid(child, &status, 0)) {
        user_regs_struct regs{};
        ::ptrace(PTRACE_GETREGS, child, nullptr, &regs);
        if (regs.orig_rax == SYS_rename || regs.orig_rax == SYS_renameat || regs.orig_rax == SYS_renameat2) {
            regs.orig_rax = static_cast<unsigned long long>(-1); // the rename does not happen
            ::ptrace(PTRACE_SETREGS, child, nullptr, &regs);
            ::ptrace(PTRACE_DETACH, child, nullptr, reinterpret_cast<void*>(SIGTERM));
        } else {
            ::ptrace(PTRACE_SYSCALL, child, nullptr, nullptr);
        }
    }
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_EQ(CountEntries(dir.Path()), 0);
}
#endif

} // namespace
