#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/ptrace.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/user.h>
#include <sys/wait.h>
#include <thread>
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

// A FIFO keeps being a FIFO and gets the bytes; a link keeps being a link and its file gets them; a link to
// nothing is refused and stays.
TEST(TextFile, NeverReplacesAFifoOrASymbolicLink)
{
    TempDir dir;
    const std::string fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] {
        std::ifstream in(fifo, std::ios::binary);
        received.assign(std::istreambuf_iterator<char>(in), {});
    });
    WriteTextFile(fifo, "a\n");
    reader.join();
    EXPECT_EQ(received, "a\r\n");

    const std::string file = dir.File("real.csv");
    const std::string link = dir.File("link.csv");
    WriteAllText(file, "old");
    std::filesystem::create_symlink(file, link);
    WriteTextFile(link, "new\n");
    EXPECT_EQ(ReadAllText(file), "new\r\n");

    const std::string dangling = dir.File("dangling.csv");
    std::filesystem::create_symlink(dir.File("nothing/x.csv"), dangling);
    EXPECT_THROW(WriteTextFile(dangling, "x\n"), CFileException);

    struct stat st {};
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    for (const std::string& path : {link, dangling}) {
        ASSERT_EQ(::lstat(path.c_str(), &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode)) << path;
    }
    EXPECT_EQ(CountEntries(dir.Path()), 4);
}

// A name of up to 255 bytes can be written, also when its folder is long (the temporary name is cut to fit).
TEST(TextFile, WritesNamesUpToTheNameLimit)
{
    TempDir dir;
    for (const std::size_t length : {246u, 251u, 255u}) {
        const std::string path = dir.File(std::string(length - 4, 'n') + ".csv");
        WriteTextFile(path, "x\n");
        EXPECT_EQ(ReadAllText(path), "x\r\n") << length;
        if (length <= 251) { // room for " (2)"
            EXPECT_EQ(WriteTextFileUnderFreeName(path, "y\n"), dir.File(std::string(length - 4, 'n') + " (2).csv"));
        }
    }
}

// A SIGTERM that arrives just before the temporary file is put in place (a tracer stops the program as the rename
// starts, skips the rename and delivers the signal) removes the temporary file in a program that installed the
// cleanup.
#if defined(__x86_64__)
TEST(TextFile, ATerminatingSignalDuringTheWriteLeavesNoTemporaryFile)
{
    TempDir dir;
    const std::string path = dir.File("export.csv");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstallTemporaryFileCleanup();
        ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        ::raise(SIGSTOP);
        WriteTextFile(path, "row\n");
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0); // the SIGSTOP
    bool signalled = false;
    while (true) {
        ASSERT_EQ(::ptrace(PTRACE_SYSCALL, child, nullptr, nullptr), 0);
        ::waitpid(child, &status, 0);
        if (WIFEXITED(status) || WIFSIGNALED(status))
            break;
        user_regs_struct regs{};
        ::ptrace(PTRACE_GETREGS, child, nullptr, &regs);
        if (regs.orig_rax == SYS_rename || regs.orig_rax == SYS_renameat || regs.orig_rax == SYS_renameat2) {
            EXPECT_EQ(CountEntries(dir.Path()), 1);              // the temporary file
            regs.orig_rax = static_cast<unsigned long long>(-1); // the rename does not happen
            ::ptrace(PTRACE_SETREGS, child, nullptr, &regs);
            ::ptrace(PTRACE_DETACH, child, nullptr, reinterpret_cast<void*>(SIGTERM));
            ::waitpid(child, &status, 0);
            signalled = true;
            break;
        }
    }
    ASSERT_TRUE(signalled);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_EQ(CountEntries(dir.Path()), 0);
}
#endif

} // namespace
