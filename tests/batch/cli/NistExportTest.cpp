// The NIST MS Search export under a fake Wine prefix with a fake "wine" on PATH.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "engine/core/LibraryMassSpectrum.h"
#include "engine/platform/WinePrefix.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/TempDir.h"
#include "engine/workflow/NistExport.h"

namespace fs = std::filesystem;

using namespace corvelin;

namespace {

class NistExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = m_dir.Path().string();
        prefix = root + "/prefix";
        fs::create_directories(prefix + "/drive_c/windows");
        fs::create_directories(prefix + "/drive_c/NIST/MSSEARCH");
        fs::create_directories(prefix + "/dosdevices");
        fs::create_directory_symlink("../drive_c", prefix + "/dosdevices/c:");
        fs::create_directory_symlink("/", prefix + "/dosdevices/z:");
        fs::create_directories(root + "/tmp");
        fs::create_directories(root + "/fakebin");
        // The log appears complete or not at all (written aside, then renamed), so a test can wait for it.
        WriteAllText(root + "/fakebin/wine", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + root + "/wine.part\" && mv \"" +
                                                 root + "/wine.part\" \"" + root + "/wine.log\"\n");
        fs::permissions(root + "/fakebin/wine", fs::perms::owner_all);
        m_oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        m_oldTmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
        setenv("PATH", (root + "/fakebin:" + m_oldPath).c_str(), 1);
        setenv("TMPDIR", (root + "/tmp").c_str(), 1);
        spectrum.Append(CLibraryMassSpectrumPoint(43, 100));
        spectrum.Append(CLibraryMassSpectrumPoint(57.25, 12.34));
    }
    void TearDown() override
    {
        setenv("PATH", m_oldPath.c_str(), 1);
        if (m_oldTmp.empty())
            unsetenv("TMPDIR");
        else
            setenv("TMPDIR", m_oldTmp.c_str(), 1);
        DeleteNistTemporaryFiles();
    }
    void WriteWinIni(const std::string& text) { WriteAllText(prefix + "/drive_c/windows/win.ini", text); }
    // Whether the fake wine wrote its log within the timeout (it is started by a detached process).
    bool WineLogAppears(std::chrono::milliseconds timeout) const
    {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (!fs::exists(root + "/wine.log")) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }
    std::string WaitForWineLog() const
    {
        return WineLogAppears(std::chrono::seconds(10)) ? ReadAllText(root + "/wine.log") : std::string();
    }
    // The Windows form of a Unix path through the prefix's z: drive.
    static std::string ZPath(std::string unix)
    {
        for (char& c : unix)
            if (c == '/')
                c = '\\';
        return "Z:" + unix;
    }

    TempDir m_dir;
    std::string root;
    std::string prefix;
    CLibraryMassSpectrumData spectrum;
    std::string m_oldPath;
    std::string m_oldTmp;
};

TEST_F(NistExport, WritesTheThreeFilesWithWindowsPathsAndStartsWine)
{
    WriteWinIni("[NISTMS]\r\nPath32=C:\\NIST\\MSSEARCH\\\r\nWorkDir32=C:\\NIST\\MSSEARCH\r\n");
    RecordingMessageSink sink;
    SearchInNist(spectrum, "Peak 3", "RT 4.20", CWinePrefix(prefix));
    EXPECT_TRUE(sink.entries.empty());

    const std::vector<std::string> files = NistTemporaryFiles();
    ASSERT_EQ(files.size(), 3u);
    const std::string temp = files[0];
    ASSERT_EQ(temp.rfind(root + "/tmp/CVL", 0), 0u) << temp;
    const std::string base = temp.substr(0, temp.size() - 4);
    EXPECT_EQ(files[1], base + ".jdx");
    EXPECT_EQ(files[2], base + ".cvls");
    EXPECT_EQ(ReadAllText(base + ".jdx"),
              "NAME: Peak 3\r\r\nCOMMENT: RT 4.20\r\r\nNum Peaks:  2\r\r\n43.0 100.0\r\r\n57.2 12.3\r\r\n");
    EXPECT_EQ(ReadAllText(base + ".cvls"), ZPath(base + ".jdx"));
    EXPECT_EQ(ReadAllText(prefix + "/drive_c/NIST/MSSEARCH/autoimp.msd"), ZPath(base + ".cvls"));
    EXPECT_EQ(WaitForWineLog(), "C:\\NIST\\MSSEARCH\\nistms$.exe\n/instrument\n");

    DeleteNistTemporaryFiles();
    for (const auto& f : files)
        EXPECT_FALSE(fs::exists(f)) << f;
    EXPECT_TRUE(fs::exists(prefix + "/drive_c/NIST/MSSEARCH/autoimp.msd"));
}

TEST_F(NistExport, EmptySpectrumGivesAZeroCount)
{
    EXPECT_EQ(NistSpectrumFileBytes(CLibraryMassSpectrumData(), "n", "c"),
              "NAME: n\r\r\nCOMMENT: c\r\r\nNum Peaks:  0\r\r\n");
}

TEST_F(NistExport, MissingInstallationIsReportedAndNothingIsWritten)
{
    WriteWinIni("[NISTMS]\r\nPath32=C:\\NIST\\MSSEARCH\r\n");
    RecordingMessageSink sink;
    SearchInNist(spectrum, "x", "y", CWinePrefix(prefix));
    EXPECT_EQ(sink.Texts(), std::vector<std::string>{"Corvelinscope was unable to determine the NIST installation "
                                                     "and/or the NIST work path.\n\nIt reads them from section "
                                                     "[NISTMS] of " +
                                                     CWinePrefix(prefix).WinIniPath() +
                                                     ". The manual's section \"NIST MS Search through Wine\" "
                                                     "(Reference) tells how to set it up."});
    for (const auto& f : NistTemporaryFiles())
        EXPECT_EQ(fs::path(f).extension(), ".tmp");
    EXPECT_FALSE(fs::exists(prefix + "/drive_c/NIST/MSSEARCH/autoimp.msd"));
    EXPECT_FALSE(WineLogAppears(std::chrono::milliseconds(500)));
}

TEST_F(NistExport, TemporaryFilesAreGoneAfterTheProgramEnds)
{
    WriteWinIni("[NISTMS]\r\nPath32=C:\\NIST\\MSSEARCH\r\nWorkDir32=C:\\NIST\\MSSEARCH\r\n");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SearchInNist(spectrum, "a", "b", CWinePrefix(prefix));
        SearchInNist(spectrum, "c", "d", CWinePrefix(prefix));
        std::exit(NistTemporaryFiles().size() == 6 ? 0 : 1); // normal program end
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(fs::is_empty(root + "/tmp"));
    EXPECT_TRUE(fs::exists(prefix + "/drive_c/NIST/MSSEARCH/autoimp.msd"));
}

TEST(WinePrefix, MapsDriveLettersBothWays)
{
    TempDir dir;
    const std::string prefix = dir.File("p");
    fs::create_directories(prefix + "/drive_c");
    fs::create_directories(prefix + "/dosdevices");
    fs::create_directories(dir.File("data"));
    fs::create_directory_symlink("../drive_c", prefix + "/dosdevices/c:");
    fs::create_directory_symlink(dir.File("data"), prefix + "/dosdevices/d:");
    fs::create_directory_symlink("/", prefix + "/dosdevices/z:");
    const CWinePrefix wine(prefix);
    const std::string driveC = fs::canonical(prefix + "/drive_c").string();
    EXPECT_EQ(wine.ToUnixPath("C:\\NIST\\x.msd"), driveC + "/NIST/x.msd");
    EXPECT_EQ(wine.ToUnixPath("d:\\a"), fs::canonical(dir.File("data")).string() + "/a");
    EXPECT_EQ(wine.ToWindowsPath(dir.File("data") + "/run/x.jdx"), "D:\\run\\x.jdx");
    EXPECT_EQ(wine.ToWindowsPath(driveC + "/NIST"), "C:\\NIST");
    EXPECT_EQ(wine.ToWindowsPath("/etc/hosts"), "Z:\\etc\\hosts");
}

} // namespace
