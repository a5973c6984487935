// The chromatogram model: deep copies, clearing, largest height, sorting, and saving entries.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/core/LibraryChromatogram.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

CLibraryChromatogram Sample()
{
    CLibraryChromatogram c;
    c.Comment = "comment";
    c.SampleName = "sample";
    c.DataFile = "run.D";
    c.TotalArea = 1000;
    c.TotalHeight = 500;
    c.ExtraValue = 2.5;
    c.SourcePath = "/lib/sample.ChromLibEntry";
    c.LargestHeight = 77;
    const double rts[] = {3.0, 1.0, 2.0, 1.0};
    const double heights[] = {10, 40, 40, 5};
    for (int i = 0; i < 4; ++i) {
        auto& p = c.AddPeak();
        p.RT = rts[i];
        p.Height = heights[i];
        p.Area = 100 + i;
        p.PeakNumber = 9 - i;
        p.Spectrum.Append(CLibraryMassSpectrumPoint(40 + i, 100, 100, i));
    }
    auto point = std::make_unique<CLibraryRICalibrationPoint>();
    point->Set("C10", 1, 1000, c.GetPeak(0)->Spectrum);
    c.RICalibration.AddPoint(std::move(point));
    c.RICalibration.SetCalculationOption(1);
    return c;
}

} // namespace

TEST(LibraryChromatogram, CopyIsDeepKeepsSourcePathResetsLargestHeightAndRenumbers)
{
    const CLibraryChromatogram source = Sample();
    CLibraryChromatogram copy(source);
    EXPECT_EQ(copy.SourcePath, source.SourcePath);
    EXPECT_EQ(copy.LargestHeight, 0);
    EXPECT_EQ(copy.Comment, "comment");
    EXPECT_EQ(copy.ExtraValue, 2.5);
    EXPECT_EQ(copy.PeakCount, 4);
    ASSERT_EQ(copy.Peaks.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(copy.GetPeak(i)->PeakNumber, i + 1);
        EXPECT_NE(copy.GetPeak(i), source.GetPeak(i));
        EXPECT_EQ(copy.GetPeak(i)->Spectrum, source.GetPeak(i)->Spectrum);
    }
    EXPECT_EQ(copy.RICalibration.GetCount(), 1u);
    EXPECT_EQ(copy.RICalibration.GetCalculationOption(), 1);
    EXPECT_EQ(copy.StoreToBytes().size(), source.StoreToBytes().size());

    CLibraryChromatogram target;
    target.CopyFrom(source);
    EXPECT_EQ(target.StoreToBytes(), copy.StoreToBytes());
}

TEST(LibraryChromatogram, ClearKeepsOptionSourcePathAndLargestHeight)
{
    CLibraryChromatogram c = Sample();
    c.LargestHeight = 77;
    c.Clear();
    EXPECT_TRUE(c.Peaks.empty());
    EXPECT_EQ(c.PeakCount, 0);
    EXPECT_EQ(c.Comment, "");
    EXPECT_EQ(c.TotalArea, 0);
    EXPECT_EQ(c.ExtraValue, 0);
    EXPECT_EQ(c.RICalibration.GetCount(), 0u);
    EXPECT_EQ(c.RICalibration.GetCalculationOption(), 1);
    EXPECT_EQ(c.SourcePath, "/lib/sample.ChromLibEntry");
    EXPECT_EQ(c.LargestHeight, 77);
}

TEST(LibraryChromatogram, LargestHeightIsCachedUntilForced)
{
    CLibraryChromatogram empty;
    EXPECT_EQ(empty.ComputeLargestHeight(), 0);
    EXPECT_EQ(empty.GetLargestHeight(), 0);

    CLibraryChromatogram c = Sample();
    c.LargestHeight = 0;
    EXPECT_EQ(c.QueryLargestHeight(), 0); // the in-memory query does not compute
    EXPECT_EQ(c.GetLargestHeight(), 40);
    c.GetPeak(0)->Height = 90;
    EXPECT_EQ(c.GetLargestHeight(), 40);
    EXPECT_EQ(c.GetLargestHeight(true), 90);
    const CLibraryChromatogramData& data = c;
    EXPECT_EQ(data.ComputeLargestHeight(), 90);
}

TEST(LibraryChromatogram, SortPeaksByRTKeepsPeakNumbers)
{
    CLibraryChromatogram c = Sample();
    c.SortPeaksByRT();
    const double rts[] = {1, 1, 2, 3};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(c.GetPeak(i)->RT, rts[i]);
    EXPECT_EQ(c.GetPeak(3)->PeakNumber, 9);
    EXPECT_EQ(c.GetPeak(2)->PeakNumber, 7);
    c.NumberPeaks();
    EXPECT_EQ(c.GetPeak(3)->PeakNumber, 4);
}

TEST(LibraryChromatogram, PeakOutOfRangeIsNull)
{
    CLibraryChromatogram c = Sample();
    EXPECT_EQ(c.GetPeak(-1), nullptr);
    EXPECT_EQ(c.GetPeak(4), nullptr);
    EXPECT_NE(c.GetPeak(3), nullptr);
}

TEST(LibraryChromatogram, SaveEntryThenLoadEntryRoundTrips)
{
    TempDir dir;
    const std::string path = dir.File("sample.ChromLibEntry");
    const CLibraryChromatogram source = Sample();
    source.SaveEntry(path);
    source.SaveEntry(path); // replacing an existing entry
    EXPECT_EQ(ReadAllBytes(path), source.StoreToBytes());
    // Nothing but the entry is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

    CLibraryChromatogram back;
    ASSERT_TRUE(back.LoadEntry(path));
    EXPECT_EQ(back.SourcePath, path);
    EXPECT_EQ(back.SampleName, "sample");
    EXPECT_EQ(back.Peaks.size(), 4u);
    EXPECT_EQ(back.GetPeak(3)->PeakNumber, 4);
}

TEST(LibraryChromatogram, SaveEntryIntoAMissingFolderIsAFileError)
{
    TempDir dir;
    const CLibraryChromatogram c = Sample();
    try {
        c.SaveEntry(dir.File("missing/x.ChromLibEntry"));
        FAIL() << "no error";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetCause(), CFileException::FileNotFound);
        EXPECT_EQ(e.GetPath(), dir.File("missing/x.ChromLibEntry"));
    }
}

TEST(LibraryChromatogram, SaveEntryIntoAReadOnlyFolderIsAFileError)
{
    TempDir dir;
    const CLibraryChromatogram c = Sample();
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    const std::string ro = dir.File("ro");
    std::filesystem::create_directory(ro);
    ::chmod(ro.c_str(), 0555);
    try {
        c.SaveEntry(ro + "/x.ChromLibEntry");
        FAIL() << "no error";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetCause(), CFileException::AccessDenied);
    }
    ::chmod(ro.c_str(), 0755);
}

TEST(LibraryChromatogram, MoveKeepsPeaksAndTable)
{
    CLibraryChromatogram source = Sample();
    const CLibraryChromatogramPeakData* first = source.GetPeak(0);
    CLibraryChromatogram moved(std::move(source));
    EXPECT_EQ(moved.GetPeak(0), first);
    EXPECT_EQ(moved.RICalibration.GetCount(), 1u);
    EXPECT_EQ(moved.SourcePath, "/lib/sample.ChromLibEntry");
}

TEST(LibraryChromatogram, OversizedFileIsRefusedBeforeReading)
{
    TempDir dir;
    const std::string path = dir.File("huge.ChromLibEntry");
    WriteAllBytes(path, {});
    std::filesystem::resize_file(path, 300ull << 20); // sparse: nothing is written
    CLibraryChromatogram c;
    EXPECT_FALSE(c.LoadEntry(path));
    try {
        c.ReadEntry(path);
        FAIL() << "no error";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetCause(), CFileException::InvalidFile);
    }
}
