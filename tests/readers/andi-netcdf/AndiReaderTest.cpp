#include <gtest/gtest.h>

#include <netcdf.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "andi-netcdf/AndiRunReader.h"
#include "common/SyntheticRun.h"
#include "peak-detector/PeakDetector.h"
#include "peak-detector/RunReadError.h"
#include "support/TempDir.h"

using namespace synthetic;

namespace {

// How the test writes an ANDI-MS file: the variations real writers use.
struct AndiLayout {
    nc_type MassType = NC_FLOAT;
    nc_type IntensityType = NC_FLOAT;
    double MassScale = 1; // stored = value / scale; scale_factor written when not 1
    double IntensityScale = 1;
    bool Unlimited = true; // point_number as the record dimension
    enum class TimeUnit {
        GlobalSeconds,
        VariableSeconds,
        None,
        GlobalMinutes,
        Arbitrary
    } Unit = TimeUnit::GlobalSeconds;
    int StalePointCount = 0;      // added to every point_count (larger than the scan really has)
    int GapPoints = 0;            // padding points between scans (point_count smaller than the scan_index step)
    std::vector<int> NoTimeScans; // scans whose acquisition time is -9999
    const char* ExperimentType = "Centroided Mass Spectrum";
};

void Check(int rc)
{
    if (rc != NC_NOERR)
        throw std::runtime_error(nc_strerror(rc));
}

void PutText(int nc, int var, const char* name, const std::string& text)
{
    Check(nc_put_att_text(nc, var, name, text.size(), text.c_str()));
}

// Values are rounded to the stored type by the library; intensities are stored already divided by the scale.
void WriteAndi(const std::string& path, const std::vector<Scan>& scans, const AndiLayout& layout)
{
    int nc;
    Check(nc_create(path.c_str(), NC_CLOBBER, &nc));
    std::vector<int> index, counts;
    std::vector<double> times, masses, intensities;
    for (std::size_t s = 0; s < scans.size(); ++s) {
        index.push_back(static_cast<int>(masses.size()));
        counts.push_back(static_cast<int>(scans[s].Lines.size()) + layout.StalePointCount);
        const bool noTime = std::find(layout.NoTimeScans.begin(), layout.NoTimeScans.end(), static_cast<int>(s)) !=
                            layout.NoTimeScans.end();
        const double seconds = scans[s].Seconds;
        times.push_back(noTime ? -9999.0 : layout.Unit == AndiLayout::TimeUnit::GlobalMinutes ? seconds / 60 : seconds);
        for (const auto& [m, v] : scans[s].Lines) {
            masses.push_back(m / layout.MassScale);
            intensities.push_back(v / layout.IntensityScale);
        }
        for (int g = 0; g < layout.GapPoints; ++g) { // padding that no scan owns
            masses.push_back(999 / layout.MassScale);
            intensities.push_back(1e9 / layout.IntensityScale);
        }
    }
    int scanDim, pointDim;
    Check(nc_def_dim(nc, "scan_number", scans.size(), &scanDim));
    Check(nc_def_dim(nc, "point_number", layout.Unlimited ? NC_UNLIMITED : masses.size(), &pointDim));
    int vIndex, vCount, vTime, vMass, vInt;
    Check(nc_def_var(nc, "scan_index", NC_INT, 1, &scanDim, &vIndex));
    Check(nc_def_var(nc, "point_count", NC_INT, 1, &scanDim, &vCount));
    Check(nc_def_var(nc, "scan_acquisition_time", NC_DOUBLE, 1, &scanDim, &vTime));
    Check(nc_def_var(nc, "mass_values", layout.MassType, 1, &pointDim, &vMass));
    Check(nc_def_var(nc, "intensity_values", layout.IntensityType, 1, &pointDim, &vInt));
    if (layout.MassScale != 1)
        Check(nc_put_att_double(nc, vMass, "scale_factor", NC_DOUBLE, 1, &layout.MassScale));
    if (layout.IntensityScale != 1)
        Check(nc_put_att_double(nc, vInt, "scale_factor", NC_DOUBLE, 1, &layout.IntensityScale));
    switch (layout.Unit) {
    case AndiLayout::TimeUnit::GlobalSeconds:
        PutText(nc, NC_GLOBAL, "units", "Seconds");
        break;
    case AndiLayout::TimeUnit::VariableSeconds:
        PutText(nc, vTime, "units", "Seconds");
        break;
    case AndiLayout::TimeUnit::GlobalMinutes:
        PutText(nc, NC_GLOBAL, "units", "Minutes");
        break;
    case AndiLayout::TimeUnit::Arbitrary:
        PutText(nc, NC_GLOBAL, "units", "Arbitrary Time Units");
        break;
    case AndiLayout::TimeUnit::None:
        break;
    }
    PutText(nc, NC_GLOBAL, "experiment_type", layout.ExperimentType);
    PutText(nc, NC_GLOBAL, "experiment_title", "  test mix  ");
    PutText(nc, NC_GLOBAL, "administrative_comments", "10 ng per component");
    PutText(nc, NC_GLOBAL, "source_file_reference", "MIX01.D");
    Check(nc_enddef(nc));
    Check(nc_put_var_int(nc, vIndex, index.data()));
    Check(nc_put_var_int(nc, vCount, counts.data()));
    Check(nc_put_var_double(nc, vTime, times.data()));
    const std::size_t start = 0, count = masses.size();
    Check(nc_put_vara_double(nc, vMass, &start, &count, masses.data()));
    Check(nc_put_vara_double(nc, vInt, &start, &count, intensities.data()));
    Check(nc_close(nc));
}

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
