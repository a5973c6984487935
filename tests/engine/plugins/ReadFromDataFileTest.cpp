#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "tests/engine/plugins/PluginTestFixture.h"
#include "engine/core/Exceptions.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/plugins/ReadFromDataFile.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

using ReadFromDataFileTest = PluginTest;

// A target that already holds a peak, so that clearing it is visible.
void Prefill(CLibraryChromatogram& target)
{
    target.SampleName = "previous";
    target.AddPeak().Area = 7;
}

TEST_F(ReadFromDataFileTest, ReadsThroughTheMatchingPluginAndRenumbersThePeaks)
{
    Register(0, "A", "test_plugin_a.so", ".raw");
    SetText("A", "DataSystemName", "Vendor X");
    const auto list = Load();
    CLibraryChromatogram target;
    Prefill(target);
    std::string name;
    ASSERT_EQ(ReadFromDataFile(*list, target, "/data/RUN1.RAW", 2.5, &name, true), 1);
    EXPECT_EQ(target.SampleName, "read by Plugins\\A");
    EXPECT_EQ(target.SourcePath, "/data/RUN1.RAW");
    ASSERT_EQ(target.Peaks.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(target.Peaks[i]->PeakNumber, i + 1);
        EXPECT_DOUBLE_EQ(target.Peaks[i]->Area, 100.0 * (i + 1));
        ASSERT_EQ(target.Peaks[i]->Spectrum.GetCount(), 1u);
    }
    EXPECT_EQ(name, "Vendor X");
    EXPECT_EQ(Text("A", "LastMinArea"), "2.50");
    EXPECT_EQ(Text("A", "LastShowMessages"), "1");
    EXPECT_EQ(Int("A", "ResetCalls"), 1);
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(ReadFromDataFileTest, TheSecondPluginReadsWhenTheFirstWithTheSameEndingRefuses)
{
    Register(0, "A", "test_plugin_a.so", ".raw");
    SetInt("A", "ReadableCode", EACCES);
    Register(1, "B", "test_plugin_b.so", ".raw");
    CLibraryChromatogram target;
    ASSERT_EQ(ReadFromDataFile(*Load(), target, "/data/run.raw", 0, nullptr, false), 1);
    EXPECT_EQ(target.SampleName, "read by Plugins\\B");
    EXPECT_EQ(Int("A", "ReadCalls"), 0);
    EXPECT_EQ(Text("A", "LastShowMessages"), "0");
    EXPECT_TRUE(messages.entries.empty());
}

TEST_F(ReadFromDataFileTest, WhenAllRefuseTheLastCodeIsReported)
{
    Register(0, "A", "test_plugin_a.so", ".raw");
    SetInt("A", "ReadableCode", EACCES);
    Register(1, "Other", "test_plugin_bare.so", ".cdf");
    Register(2, "B", "test_plugin_b.so", ".raw");
    SetInt("B", "ReadableCode", EIO);
    CLibraryChromatogram target;
    EXPECT_THROW(ReadFromDataFile(*Load(), target, "/data/run.raw", 0, nullptr, false), CNotSupportedException);
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(messages.Texts()[0], std::string("Error reading file '/data/run.raw'\nError = ") + std::strerror(EIO));
}

TEST_F(ReadFromDataFileTest, NoMatchingEndingIsReported)
{
    Register(0, "A", "test_plugin_a.so", ".raw");
    CLibraryChromatogram target;
    EXPECT_THROW(ReadFromDataFile(*Load(), target, "/data/run.cdf", 0, nullptr, false), CNotSupportedException);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"No matching plugin found. Can't read file '/data/run.cdf'."});
}

TEST_F(ReadFromDataFileTest, AnEmptyListIsAUserError)
{
    CDatasystemPlugins empty;
    CLibraryChromatogram target;
    EXPECT_THROW(ReadFromDataFile(empty, target, "/data/run.cdf", 0, nullptr, true), CUserException);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"No plugins loaded. Can't read file '/data/run.cdf'."});
    // The process-wide list starts empty as well.
    EXPECT_THROW(ReadFromDataFile(target, "/data/run.cdf", 0, nullptr, true), CUserException);
}

TEST_F(ReadFromDataFileTest, AnExceptionWhileChoosingGivesZeroWithoutAMessage)
{
    Register(0, "A", "test_plugin_a.so", ".raw");
    SetInt("A", "ThrowInIsFileReadable", 1);
    CLibraryChromatogram target;
    EXPECT_EQ(ReadFromDataFile(*Load(), target, "/data/run.raw", 0, nullptr, true), 0);
    EXPECT_TRUE(messages.entries.empty());
}

class ReadFailureTest : public PluginTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ReadFailureTest, AFailedReadLeavesAnEmptyTargetAndResetsOnce)
{
    const bool showMessages = GetParam();
    Register(0, "A", "test_plugin_a.so", ".raw");
    SetText("A", "ReadError", "checksum mismatch");
    CLibraryChromatogram target;
    Prefill(target);
    try {
        ReadFromDataFile(*Load(), target, "/data/run.raw", 0, nullptr, showMessages);
        FAIL() << "expected CArchiveException";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.GetCause(), CArchiveException::BadClass);
        EXPECT_EQ(e.GetPath(), "/data/run.raw");
    }
    EXPECT_TRUE(target.Peaks.empty());
    EXPECT_EQ(target.PeakCount, 0);
    EXPECT_EQ(target.SampleName, "");
    EXPECT_EQ(Int("A", "ResetCalls"), 1);
    if (showMessages) {
        ASSERT_EQ(messages.entries.size(), 1u);
        EXPECT_EQ(messages.entries[0].text, "Error while reading data file /data/run.raw:\n'checksum mismatch'.");
        EXPECT_EQ(messages.entries[0].icon, MessageIcon::Stop);
    } else {
        EXPECT_TRUE(messages.entries.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(ShowMessages, ReadFailureTest, ::testing::Bool());

TEST_F(ReadFromDataFileTest, AnExceptionFromTheReadPassesOnAfterOneReset)
{
    Register(0, "A", "test_plugin_a.so", ".raw");
    SetInt("A", "ThrowInRead", 1);
    CLibraryChromatogram target;
    Prefill(target);
    try {
        ReadFromDataFile(*Load(), target, "/data/run.raw", 0, nullptr, true);
        FAIL() << "expected CArchiveException";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.GetCause(), CArchiveException::EndOfFile);
    }
    EXPECT_TRUE(target.Peaks.empty());
    EXPECT_EQ(Int("A", "ResetCalls"), 1);
    EXPECT_TRUE(messages.entries.empty());
}

// A plug-in that cannot read (its module did not load, or it lacks the read export) must not pass an empty
// chromatogram off as the file's contents: the read fails as a refused read does and the target stays empty.
TEST_F(ReadFromDataFileTest, APluginThatCannotReadFailsTheRead)
{
    Register(0, "Bare", "test_plugin_bare.so", ".raw");
    Register(1, "Gone", "no_such_module.so", ".cdf");
    const auto list = Load();
    messages.entries.clear();
    for (const char* path : {"/data/run.raw", "/data/run.cdf"}) {
        CLibraryChromatogram target;
        Prefill(target);
        EXPECT_THROW(ReadFromDataFile(*list, target, path, 0, nullptr, true), CArchiveException) << path;
        EXPECT_TRUE(target.Peaks.empty());
    }
    ASSERT_EQ(messages.Texts().size(), 2u);
    EXPECT_TRUE(messages.Texts()[0].starts_with("Error while reading data file /data/run.raw:\n'"));
    EXPECT_NE(messages.Texts()[0].find("does not export ReadFromDataSystem"), std::string::npos);
    EXPECT_NE(messages.Texts()[1].find("is not loaded"), std::string::npos);
}

// A FIFO (or a device) would make a reader wait for data forever: it is refused before any plug-in is asked.
TEST_F(ReadFromDataFileTest, APipeIsRefusedWithoutWaiting)
{
    Register(0, "A", "test_plugin_a.so", "");
    TempDir dir;
    const std::string fifo = dir.File("run.raw");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    CLibraryChromatogram target;
    EXPECT_THROW(ReadFromDataFile(*Load(), target, fifo, 0, nullptr, false), CNotSupportedException);
    EXPECT_EQ(Int("A", "IsFileReadableCalls"), 0);
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_NE(messages.Texts()[0].find("not a regular file"), std::string::npos);
}

TEST_F(ReadFromDataFileTest, AnEmptyExtensionMatchesEveryPath)
{
    Register(0, "A", "test_plugin_a.so", "");
    CLibraryChromatogram target;
    EXPECT_EQ(ReadFromDataFile(*Load(), target, "/data/anything.xyz", 0, nullptr, true), 1);
    EXPECT_EQ(target.Peaks.size(), 3u);
}

} // namespace
