#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <sstream>

#include "tests/readers/common/JcampWriter.h"
#include "tests/readers/common/SyntheticRun.h"
#include "readers/jcamp-gcms/JcampRunReader.h"
#include "engine/peaks/PeakDetector.h"
#include "readers/peak-detector/RunReadError.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

using namespace synthetic;

namespace {

RunSpec MixSpec()
{
    RunSpec spec;
    spec.Components = ThreeComponents();
    spec.MassOffset = 0.0131; // accurate masses, as in real exports
    return spec;
}

std::string DialectName(const ::testing::TestParamInfo<Dialect>& info)
{
    static const char* const names[] = {"PagesAndRetentionTime", "RetentionTimeOnly", "NtuplesSeconds",
                                        "NtuplesMinutes"};
    return names[static_cast<int>(info.param)];
}

class JcampDialects : public ::testing::TestWithParam<Dialect> {};

TEST_P(JcampDialects, ReadsTheRunAndFindsItsPeaks)
{
    const RunSpec spec = MixSpec();
    const CScanRun run = ParseJcampRun(WriteJcamp(MakeScans(spec), GetParam()), "/data/MIX.JDX");
    ASSERT_EQ(run.ScanCount(), static_cast<std::size_t>(spec.Scans));
    EXPECT_EQ(run.SampleName, "test mix");
    EXPECT_EQ(run.Comment, "10 ng per component");
    EXPECT_EQ(run.DataFile, "MIX.JDX");
    // Retention times in minutes whatever the file's unit (header FIRST/LAST in minutes are not used).
    EXPECT_NEAR(run.Time(0), spec.FirstSeconds / 60, 1e-4);
    const CPeakList list = DetectPeaks(run, CPeakDetectorSettings{});
    ASSERT_EQ(list.Peaks.size(), spec.Components.size());
    for (std::size_t i = 0; i < list.Peaks.size(); ++i) {
        const Component& c = spec.Components[i];
        EXPECT_NEAR(list.Peaks[i].RT * 60, c.ApexSeconds, spec.IntervalSeconds + 1e-3);
        EXPECT_NEAR(list.Peaks[i].Area, c.ExpectedArea(), 0.03 * c.ExpectedArea());
        EXPECT_GE(MSMatch(ToSpectrum(list.Peaks[i].Spectrum), ExpectedSpectrum(c), 0), 0.99);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, JcampDialects,
                         ::testing::Values(Dialect::PagesAndRetentionTime, Dialect::RetentionTimeOnly,
                                           Dialect::NtuplesSeconds, Dialect::NtuplesMinutes),
                         DialectName);

TEST(JcampReader, ReadsFromAFileWithCrLfLineEnds)
{
    TempDir dir;
    RunSpec spec = MixSpec();
    spec.Scans = 40;
    std::string text = WriteJcamp(MakeScans(spec), Dialect::PagesAndRetentionTime);
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    WriteAllText(dir.File("RUN.JDX"), crlf);
    const CScanRun run = ReadJcampRun(dir.File("RUN.JDX"));
    EXPECT_EQ(run.ScanCount(), 40u);
    EXPECT_EQ(run.SampleName, "test mix");
}

struct Refusal {
    const char* name;
    std::function<std::string()> text;
    int code;
    const char* reasonPart;
};

void PrintTo(const Refusal& c, std::ostream* os)
{
    *os << c.name;
}

class JcampRefusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(JcampRefusals, RefusedWithCodeAndReason)
{
    try {
        ParseJcampRun(GetParam().text(), "F.JDX");
        FAIL() << "accepted";
    } catch (const CRunReadError& e) {
        EXPECT_EQ(e.Code(), GetParam().code) << e.what();
        EXPECT_NE(std::string(e.what()).find(GetParam().reasonPart), std::string::npos) << e.what();
    }
}

std::string SmallRun(Dialect d)
{
    RunSpec spec = MixSpec();
    spec.Scans = 30;
    return WriteJcamp(MakeScans(spec), d);
}

// Cut inside the last scan's mass list, as an interrupted copy leaves it.
std::string CutInLastScan(Dialect d)
{
    const std::string text = SmallRun(d);
    const std::size_t lastPage = text.rfind("##NPOINTS");
    const std::size_t cut = text.find('\n', text.find('\n', text.find("(XY..XY)", lastPage)) + 1);
    return text.substr(0, cut + 1);
}

const char* kSingleSpectrum = "##TITLE= toluene\n##JCAMP-DX= 4.24\n##DATA TYPE= MASS SPECTRUM\n##NPOINTS= 3\n"
                              "##XYDATA= (XY..XY)\n91, 999\n92, 600\n65, 120\n##END=\n";

INSTANTIATE_TEST_SUITE_P(
    Texts, JcampRefusals,
    ::testing::Values(
        Refusal{"NotJcamp", [] { return std::string("PK\x03\x04 garbage\nmore\n"); }, EMEDIUMTYPE, "not a JCAMP-DX"},
        Refusal{"Empty", [] { return std::string(); }, EMEDIUMTYPE, "not a JCAMP-DX"},
        Refusal{"SingleSpectrum", [] { return std::string(kSingleSpectrum); }, EMEDIUMTYPE, "single mass spectrum"},
        Refusal{"SpectrumCollection", [] { return std::string(kSingleSpectrum) + kSingleSpectrum + kSingleSpectrum; },
                EMEDIUMTYPE, "3 mass spectra without retention times"},
        Refusal{"TruncatedPages", [] { return CutInLastScan(Dialect::PagesAndRetentionTime); }, EBADMSG, "truncated"},
        Refusal{"TruncatedNtuples", [] { return CutInLastScan(Dialect::NtuplesSeconds); }, EBADMSG, "truncated"},
        Refusal{"NtuplesWithoutEnd",
                [] {
                    std::string t = SmallRun(Dialect::NtuplesSeconds);
                    return t.substr(0, t.find("##END NTUPLES"));
                },
                EBADMSG, "##END NTUPLES"},
        Refusal{"HalfPair",
                [] {
                    std::string t = SmallRun(Dialect::PagesAndRetentionTime);
                    return t + "##SCAN_NUMBER= 99\n##PAGE= T=500\n##XYDATA= (XY..XY)\n50, 10\n51\n";
                },
                EBADMSG, "truncated"},
        Refusal{"CutInsideALabel",
                [] {
                    const std::string t = SmallRun(Dialect::PagesAndRetentionTime);
                    return t.substr(0, t.rfind("(XY..XY)") + 3);
                },
                EBADMSG, "truncated"},
        Refusal{"UnreadableDataLine",
                [] {
                    std::string t = SmallRun(Dialect::PagesAndRetentionTime);
                    const std::size_t at = t.find("(XY..XY)") + 9;
                    return t.insert(at, " 50, ten\n");
                },
                EBADMSG, "unreadable data line"},
        Refusal{"CompressedScans",
                [] {
                    return std::string("##TITLE= x\n##PAGE= T=1\n##XYDATA= (X++(Y..Y))\n50 A1B2\n##PAGE= T=2\n"
                                       "##XYDATA= (X++(Y..Y))\n50 A1B2\n##END=\n");
                },
                ENOTSUP, "(X++(Y..Y))"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST(JcampReader, MissingFileIsENOENT)
{
    TempDir dir;
    try {
        ReadJcampRun(dir.File("none.jdx"));
        FAIL();
    } catch (const CRunReadError& e) {
        EXPECT_EQ(e.Code(), ENOENT);
    }
}

} // namespace
