// Real runs (an ANDI netCDF and a JCAMP-DX export from the shared data folder beside the repository, when it is
// there, or in CORVELIN_SHARED_DATA) written as mzML and mzXML give the same peaks as their original reader. With
// CORVELIN_KEEP_MZML set to a folder, the written files are kept there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "readers/andi-netcdf/AndiRunReader.h"
#include "readers/jcamp-gcms/JcampRunReader.h"
#include "readers/mzml/MzmlRunReader.h"
#include "engine/peaks/PeakDetector.h"
#include "tests/readers/common/MzmlWriter.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

using namespace synthetic;

namespace {

namespace fs = std::filesystem;

std::vector<Scan> ScansOf(const CScanRun& run)
{
    std::vector<Scan> scans;
    for (std::size_t s = 0; s < run.ScanCount(); ++s) {
        Scan scan{run.Time(s) * 60.0, {}};
        for (std::size_t i = run.ScanBegin(s); i < run.ScanEnd(s); ++i)
            scan.Lines.emplace_back(run.Mass(i), run.Intensity(i));
        scans.push_back(std::move(scan));
    }
    return scans;
}

struct RealRun {
    const char* Name;
    const char* RelativePath;
    bool Andi;
};

class MzmlRealRuns : public ::testing::TestWithParam<RealRun> {};

TEST_P(MzmlRealRuns, SamePeaksAsTheOriginalReader)
{
    const char* shared = std::getenv("CORVELIN_SHARED_DATA");
    const fs::path source = fs::path(shared && *shared ? shared : CORVELIN_SHARED_DATA_DIR) / GetParam().RelativePath;
    if (!fs::exists(source))
        GTEST_SKIP() << source << " is not there";
    const CScanRun original = GetParam().Andi ? ReadAndiRun(source.string()) : ReadJcampRun(source.string());
    const CPeakList expected = DetectPeaks(original, CPeakDetectorSettings{});
    ASSERT_GT(expected.Peaks.size(), 10u);
    const std::vector<Scan> scans = ScansOf(original);

    TempDir dir;
    const char* keep = std::getenv("CORVELIN_KEEP_MZML");
    const fs::path folder = keep && *keep ? fs::path(keep) : dir.Path();
    for (const auto& [form, ending] : {std::pair{MzmlForm::Plain, ".mzML"}, std::pair{MzmlForm::Zlib, ".zlib.mzML"},
                                       std::pair{MzmlForm::MzXML, ".mzXML"}}) {
        // mzXML states times with six significant digits (PT1002.54S), so the apexes' times and the trapezoids
        // of the areas move within that rounding.
        const bool rounded = form == MzmlForm::MzXML;
        const double rtTolerance = rounded ? 1e-4 : 1e-6;
        const double areaTolerance = rounded ? 5e-3 : 1e-6;
        const std::string path = (folder / (source.stem().string() + ending)).string();
        WriteMzml(scans, path, {.Form = form});
        const CPeakList actual = DetectPeaks(ReadMzmlRun(path), CPeakDetectorSettings{});
        ASSERT_EQ(actual.Peaks.size(), expected.Peaks.size()) << path;
        for (std::size_t i = 0; i < expected.Peaks.size(); ++i) {
            EXPECT_NEAR(actual.Peaks[i].RT, expected.Peaks[i].RT, rtTolerance) << path << " peak " << i;
            EXPECT_NEAR(actual.Peaks[i].Area, expected.Peaks[i].Area, areaTolerance * expected.Peaks[i].Area)
                << path << " peak " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(SharedData, MzmlRealRuns,
                         ::testing::Values(RealRun{"Andi", "andi/netcdf-gcms/agilent-gcms.cdf", true},
                                           RealRun{"Jcamp", "jdx/PyMassSpec/ELEY_1_SUBTRACT.JDX", false}),
                         [](const ::testing::TestParamInfo<RealRun>& info) { return std::string(info.param.Name); });

} // namespace
