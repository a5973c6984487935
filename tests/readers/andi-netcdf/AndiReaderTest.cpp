#include <gtest/gtest.h>

#include <netcdf.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "readers/andi-netcdf/AndiRunReader.h"
#include "tests/readers/common/AndiWriter.h"
#include "tests/readers/common/SyntheticRun.h"
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
    return spec;
}

void ExpectMix(const CScanRun& run, const RunSpec& spec, double timeFactor = 1.0)
{
    const CPeakList list = DetectPeaks(run, CPeakDetectorSettings{});
    ASSERT_EQ(list.Peaks.size(), spec.Components.size());
    for (std::size_t i = 0; i < list.Peaks.size(); ++i) {
        const Component& c = spec.Components[i];
        EXPECT_NEAR(list.Peaks[i].RT * 60, c.ApexSeconds * timeFactor, spec.IntervalSeconds * timeFactor);
        EXPECT_NEAR(list.Peaks[i].Area, c.ExpectedArea() * timeFactor, 0.03 * c.ExpectedArea() * timeFactor);
        EXPECT_GE(MSMatch(ToSpectrum(list.Peaks[i].Spectrum), ExpectedSpectrum(c), 0), 0.99);
    }
}

struct LayoutCase {
    const char* name;
    AndiLayout layout;
    double massOffset;
};

void PrintTo(const LayoutCase& c, std::ostream* os)
{
    *os << c.name;
}

class AndiLayouts : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(AndiLayouts, ReadsTheRunAndFindsItsPeaks)
{
    TempDir dir;
    RunSpec spec = MixSpec();
    spec.MassOffset = GetParam().massOffset;
    const std::string path = dir.File("RUN.CDF");
    WriteAndi(path, MakeScans(spec), GetParam().layout);
    const CScanRun run = ReadAndiRun(path);
    EXPECT_EQ(run.ScanCount(), static_cast<std::size_t>(spec.Scans));
    EXPECT_EQ(run.SampleName, "test mix");
    EXPECT_EQ(run.Comment, "10 ng per component");
    EXPECT_EQ(run.DataFile, "MIX01.D");
    ExpectMix(run, spec);
}

AndiLayout With(std::function<void(AndiLayout&)> change)
{
    AndiLayout l;
    change(l);
    return l;
}

INSTANTIATE_TEST_SUITE_P(
    Files, AndiLayouts,
    ::testing::Values(
        LayoutCase{"FloatUnlimited", AndiLayout{}, 0.0},
        LayoutCase{"DoubleFixedDimension", With([](AndiLayout& l) {
                       l.MassType = l.IntensityType = NC_DOUBLE;
                       l.Unlimited = false;
                   }),
                   0.27},
        // Integer intensities stored times 4 with scale_factor 0.25: without the factor the areas are 4 times too
        // large.
        LayoutCase{"ShortMassesIntIntensitiesScaled", With([](AndiLayout& l) {
                       l.MassType = NC_SHORT;
                       l.IntensityType = NC_INT;
                       l.IntensityScale = 0.25;
                   }),
                   0.0},
        // m/z stored times 1000 as integers with scale_factor 0.001.
        LayoutCase{"IntMassesScaleFactor", With([](AndiLayout& l) {
                       l.MassType = NC_INT;
                       l.MassScale = 0.001;
                   }),
                   0.12},
        LayoutCase{"UnitOnTheTimeVariable", With([](AndiLayout& l) { l.Unit = AndiLayout::TimeUnit::VariableSeconds; }),
                   0.0},
        LayoutCase{"NoTimeUnit", With([](AndiLayout& l) { l.Unit = AndiLayout::TimeUnit::None; }), 0.0},
        LayoutCase{"ArbitraryTimeUnits", With([](AndiLayout& l) { l.Unit = AndiLayout::TimeUnit::Arbitrary; }), 0.0},
        LayoutCase{"TimesInMinutes", With([](AndiLayout& l) { l.Unit = AndiLayout::TimeUnit::GlobalMinutes; }), 0.0},
        // point_count larger than the scan_index step: the step wins.
        LayoutCase{"StalePointCount", With([](AndiLayout& l) { l.StalePointCount = 40; }), 0.0},
        // Padding between scans that no point_count covers.
        LayoutCase{"GapsBetweenScans", With([](AndiLayout& l) { l.GapPoints = 3; }), 0.0}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST(AndiReader, ScansWithoutAcquisitionTimeAreLeftOut)
{
    TempDir dir;
    const RunSpec spec = MixSpec();
    AndiLayout layout;
    layout.NoTimeScans = {0, 1, 599};
    WriteAndi(dir.File("RUN.CDF"), MakeScans(spec), layout);
    const CScanRun run = ReadAndiRun(dir.File("RUN.CDF"));
    EXPECT_EQ(run.ScanCount(), 597u);
    EXPECT_NEAR(run.Time(0) * 60, spec.FirstSeconds + 2 * spec.IntervalSeconds, 1e-9);
    ExpectMix(run, spec);
}

TEST(AndiReader, MemoryImageReadsLikeTheFile)
{
    TempDir dir;
    WriteAndi(dir.File("RUN.CDF"), MakeScans(MixSpec()), AndiLayout{});
    const auto bytes = ReadAllBytes(dir.File("RUN.CDF"));
    const CScanRun fromFile = ReadAndiRun(dir.File("RUN.CDF"));
    const CScanRun fromMemory = ReadAndiRunFromMemory(bytes.data(), bytes.size(), "RUN.CDF");
    ASSERT_EQ(fromMemory.ScanCount(), fromFile.ScanCount());
    ASSERT_EQ(fromMemory.LineCount(), fromFile.LineCount());
    for (std::size_t k = 0; k < fromFile.LineCount(); k += 97)
        EXPECT_EQ(fromMemory.Mass(k), fromFile.Mass(k));
}

TEST(AndiReader, TimeUnitTexts)
{
    EXPECT_DOUBLE_EQ(AndiTimeUnitToMinutes("Seconds"), 1.0 / 60);
    EXPECT_DOUBLE_EQ(AndiTimeUnitToMinutes(""), 1.0 / 60);
    EXPECT_DOUBLE_EQ(AndiTimeUnitToMinutes("Arbitrary Time Units"), 1.0 / 60);
    EXPECT_DOUBLE_EQ(AndiTimeUnitToMinutes(" minutes "), 1.0);
    EXPECT_DOUBLE_EQ(AndiTimeUnitToMinutes("ms"), 1.0 / 60000);
}

// Refusals: each with its errno-style code and a reason that names the kind of file.
struct Refusal {
    const char* name;
    std::function<void(const std::string& path)> write;
    int code;
    const char* reasonPart;
};

void PrintTo(const Refusal& c, std::ostream* os)
{
    *os << c.name;
}

class AndiRefusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(AndiRefusals, RefusedWithCodeAndReason)
{
    TempDir dir;
    const std::string path = dir.File("FILE.CDF");
    GetParam().write(path);
    try {
        ReadAndiRun(path);
        FAIL() << "accepted";
    } catch (const CRunReadError& e) {
        EXPECT_EQ(e.Code(), GetParam().code) << e.what();
        EXPECT_NE(std::string(e.what()).find(GetParam().reasonPart), std::string::npos) << e.what();
    }
    // The in-memory path refuses the same bytes without crashing.
    const auto bytes = ReadAllBytes(path);
    if (!bytes.empty()) {
        EXPECT_THROW(ReadAndiRunFromMemory(bytes.data(), bytes.size(), "FILE.CDF"), CRunReadError);
    }
}

void WriteChromatographyFile(const std::string& path)
{
    int nc, dim, var;
    Check(nc_create(path.c_str(), NC_CLOBBER, &nc));
    Check(nc_def_dim(nc, "point_number", 100, &dim));
    Check(nc_def_var(nc, "ordinate_values", NC_FLOAT, 1, &dim, &var));
    PutText(nc, NC_GLOBAL, "aia_template_revision", "1.0");
    Check(nc_enddef(nc));
    std::vector<float> v(100, 1.0f);
    Check(nc_put_var_float(nc, var, v.data()));
    Check(nc_close(nc));
}

void WriteLibrary(const std::string& path)
{
    AndiLayout layout;
    layout.ExperimentType = "Library Mass Spectrum";
    RunSpec spec = MixSpec();
    spec.Scans = 5;
    WriteAndi(path, MakeScans(spec), layout);
}

void WriteAllTimesMissing(const std::string& path)
{
    AndiLayout layout;
    RunSpec spec = MixSpec();
    spec.Scans = 4;
    layout.NoTimeScans = {0, 1, 2, 3};
    WriteAndi(path, MakeScans(spec), layout);
}

void WriteNegativeIntensities(const std::string& path)
{
    AndiLayout layout;
    layout.IntensityType = NC_SHORT;
    RunSpec spec = MixSpec();
    spec.Scans = 50;
    spec.Components.clear();
    auto scans = MakeScans(spec);
    for (auto& s : scans)
        s.Lines.push_back({300.0, -32768.0}); // the int16 garbage of a broken writer
    WriteAndi(path, scans, layout);
}

void WriteTruncated(const std::string& path)
{
    WriteAndi(path, MakeScans(MixSpec()), AndiLayout{});
    auto bytes = ReadAllBytes(path);
    bytes.resize(bytes.size() / 2);
    WriteAllBytes(path, bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Files, AndiRefusals,
    ::testing::Values(
        Refusal{"Zip",
                [](const std::string& p) { WriteAllText(p, std::string("PK\x03\x04", 4) + "CONTINUM.CDF....."); },
                EMEDIUMTYPE, "ZIP"},
        Refusal{"Text", [](const std::string& p) { WriteAllText(p, "##TITLE= not netCDF\n"); }, EMEDIUMTYPE,
                "not a netCDF"},
        Refusal{"Empty", [](const std::string& p) { WriteAllText(p, ""); }, EMEDIUMTYPE, "not a netCDF"},
        Refusal{"BadHeader",
                [](const std::string& p) { WriteAllText(p, std::string("CDF\x01", 4) + std::string(40, '\xff')); },
                EBADMSG, "damaged"},
        // A header claiming two billion dimensions in a few bytes: refused before anything is allocated for them.
        Refusal{"HugeHeaderCount",
                [](const std::string& p) {
                    WriteAllText(p,
                                 std::string("CDF\x01\0\0\0\0\0\0\0\x0a\x7f\xff\xff\xff", 16) + std::string(64, '\0'));
                },
                EBADMSG, "counts more elements than the file holds"},
        Refusal{"Chromatography", WriteChromatographyFile, EMEDIUMTYPE, "chromatography"},
        Refusal{"Library", WriteLibrary, ENODATA, "library"},
        Refusal{"NoAcquisitionTimes", WriteAllTimesMissing, ENODATA, "acquisition time"},
        Refusal{"NegativeIntensities", WriteNegativeIntensities, EBADMSG, "negative"},
        Refusal{"Truncated", WriteTruncated, EBADMSG, "'"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST(AndiReader, MissingFileIsENOENT)
{
    TempDir dir;
    try {
        ReadAndiRun(dir.File("none.cdf"));
        FAIL();
    } catch (const CRunReadError& e) {
        EXPECT_EQ(e.Code(), ENOENT);
    }
}

} // namespace
