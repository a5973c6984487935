#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "engine/options/ProgramSettingsStore.h"
#include "engine/options/SearchParameterFile.h"
#include "engine/platform/IniDocument.h"
#include "tests/support/TempDir.h"
#include "tests/support/probe/AllocationProbe.h"

using namespace corvelin;

namespace {

std::string Junk(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    const std::string alphabet = "[]=\r\n;\"' \t\\aZ09(),.-";
    std::string text;
    for (std::size_t i = 0; i < size; ++i)
        text += random() % 3 ? alphabet[random() % alphabet.size()] : static_cast<char>(random() % 256);
    return text;
}

class HostileInput : public testing::Test {
protected:
    // Reads the file and returns the record; the read must stay small and fast.
    CSearchOptions ReadBounded(const std::string& content, std::size_t allocationLimit)
    {
        const std::string path = m_dir.File("hostile.spf");
        WriteAllText(path, content);
        CSearchOptions options;
        const auto start = std::chrono::steady_clock::now();
        {
            AllocationProbe probe;
            ReadParameterFile(options, path);
            EXPECT_LE(probe.Largest(), allocationLimit);
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        return options;
    }
    TempDir m_dir;
};

TEST_F(HostileInput, HugeCountsCostOnlyWhatTheFileHolds)
{
    const auto options = ReadBounded("[MassSpecOptions]\nnMassSpecs=1000000000\n"
                                     "[MassSpec001]\nnMassPeaks=1000000000\nName=a\nPeak999999999=(50.00, 1.000)\n"
                                     "[MassSpec999999999]\nnMassPeaks=2147483647\nPeak001=(60.00, 1.000)\n"
                                     "[RI Calibration]\nnDataPoints=1000000000\n[RICalPoint1000000000]\nRi=5\n"
                                     "[RICalPoint2147483647]\nnMassPeaks=-5\n",
                                     64 * 1024);
    ASSERT_EQ(options.GetSpectraCount(), 2);
    EXPECT_EQ(options.GetSpectrum(0)->GetCount(), 1u);
    EXPECT_EQ(options.GetSpectrum(1)->GetPoint(0)->Mass, 60.0);
    ASSERT_EQ(options.RICalibration().GetCount(), 1u);
    EXPECT_EQ(options.RICalibration().GetPoint(0).GetRI(), 5.0);
}

TEST_F(HostileInput, NegativeAndOverflowingCountsReadNothing)
{
    const auto options = ReadBounded("[MassSpecOptions]\nnMassSpecs=-1\n[MassSpec001]\nnMassPeaks=1\nPeak001=(1,1)\n"
                                     "[RI Calibration]\nnDataPoints=99999999999999999999\n[RICalPoint001]\n",
                                     64 * 1024);
    EXPECT_EQ(options.GetSpectraCount(), 0);
    // The count wraps to 1661992959 as the profile reader reads it; only the one section present makes a point.
    EXPECT_EQ(options.RICalibration().GetCount(), 1u);
}

TEST_F(HostileInput, BinaryJunkGivesDefaults)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        const auto options = ReadBounded(Junk(20000, seed), 256 * 1024);
        EXPECT_EQ(options.SummaryISTDMatch, 950) << seed;
        EXPECT_EQ(options.FitThreshold, 800) << seed;
    }
}

TEST_F(HostileInput, VeryLongLinesAreCutToTheBuffer)
{
    const std::string longValue(1'500'000, 'x');
    const auto options = ReadBounded("[Summary Options]\nSummary ISTD Name=" + longValue + "\n" +
                                         std::string(500'000, '[') + "\n[Advanced Options]\nSearchRange=" + longValue,
                                     8 * 1024 * 1024);
    EXPECT_EQ(options.SummaryISTDName.size(), 259u);
    EXPECT_EQ(options.TimeRange.size(), 259u);
}

TEST_F(HostileInput, MissingEqualsAndDuplicateSections)
{
    const auto options = ReadBounded("[Standard Options]\nMS Matching\nRT Matching 0\n"
                                     "[Standard Options]\nMS Matching=0\nRT Matching=0\n"
                                     "[Summary Options]\nSummary ISTD Match=12\nSummary ISTD Match=13\n",
                                     64 * 1024);
    EXPECT_EQ(options.MSMatching, 1); // only the first section counts, where the line has no "="
    EXPECT_EQ(options.RTMatching, 1);
    EXPECT_EQ(options.SummaryISTDMatch, 12);
}

TEST_F(HostileInput, OverlargeFileIsNotRead)
{
    std::string content = "[Summary Options]\nSummary ISTD Match=12\n";
    content.append(CIniDocument::MaxFileBytes, '\n');
    const auto options = ReadBounded(content, 2 * CIniDocument::MaxFileBytes);
    EXPECT_EQ(options.SummaryISTDMatch, 950);
}

TEST_F(HostileInput, SettingsFromJunkFilesFallBackToDefaults)
{
    const SettingsLocation location = SettingsLocation::InFolder(m_dir.Path().string(), "u");
    WriteAllText(m_dir.File("settings.ini"), Junk(50000, 7));
    WriteAllText(m_dir.File("config.ini"), Junk(5000, 8));
    std::filesystem::create_directory(m_dir.File("registry"));
    WriteAllText(m_dir.File("registry/system.reg"),
                 Junk(50000, 9) + "\n[SOFTWARE\\\\Felsmark Labs\\\\Settings]\n\"UseRegistry\"=dword:1ffffffff\n");
    CProgramSettingsStore store(location);
    AllocationProbe probe;
    EXPECT_EQ(store.GetSettingInt(SettingsScope::CurrentUser, "LibrarySearch", nullptr, "MaxPeaks", 200), 200);
    EXPECT_TRUE(store.UseIniSettings());
    EXPECT_LE(probe.Largest(), 512u * 1024u);
}

} // namespace
