// RI calibration: the scan rules of ComputeRI in both calculation options, copies and recalibration.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

#include "engine/core/Exceptions.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/core/LibraryRICalibration.h"

using namespace corvelin;

namespace {

CLibraryRICalibrationData Table(const std::vector<std::pair<double, double>>& points, int option)
{
    CLibraryRICalibrationData t;
    t.SetCalculationOption(option);
    for (const auto& [rt, ri] : points) {
        auto p = std::make_unique<CLibraryRICalibrationPoint>();
        p->Set("C", rt, ri, {});
        t.AddPoint(std::move(p));
    }
    return t;
}

struct RICase {
    const char* name;
    std::vector<std::pair<double, double>> points;
    int option;
    double rt;
    double expected;
    friend void PrintTo(const RICase& c, std::ostream* os) { *os << c.name; }
};

class ComputeRI : public ::testing::TestWithParam<RICase> {};

TEST_P(ComputeRI, FollowsTheScanRules)
{
    const RICase& c = GetParam();
    EXPECT_NEAR(Table(c.points, c.option).ComputeRI(c.rt), c.expected, 1e-3);
}

const std::vector<std::pair<double, double>> kTwo = {{5, 1000}, {10, 1100}};
const std::vector<std::pair<double, double>> kThree = {{5, 1000}, {10, 1100}, {20, 1200}};

INSTANTIATE_TEST_SUITE_P(
    Examples, ComputeRI,
    ::testing::Values(
        RICase{"kovats_exact_point", kTwo, 0, 5, 1000}, RICase{"kovats_exact_upper_point", kTwo, 0, 10, 1100},
        RICase{"kovats_geometric_mean", kTwo, 0, std::sqrt(50.0), 1050}, RICase{"kovats_7_0711", kTwo, 0, 7.0711, 1050},
        RICase{"linear_interpolation", kTwo, 1, 7.5, 1050}, RICase{"linear_below_first", kTwo, 1, 2.5, 950},
        RICase{"linear_above_last", kTwo, 1, 12.5, 1150}, RICase{"linear_option_other_than_1", kTwo, 7, 7.5, 1050},
        RICase{"three_between_second_and_third", kThree, 1, 15, 1150}, RICase{"three_above_last", kThree, 1, 25, 1250},
        RICase{"three_below_first", kThree, 1, 2.5, 950}, RICase{"three_exact_middle", kThree, 1, 10, 1100},
        RICase{"kovats_three_between", kThree, 0, std::sqrt(200.0), 1150},
        RICase{"single_point", {{5, 1000}}, 1, 5, -1}, RICase{"empty", {}, 0, 5, -1},
        RICase{"kovats_rt_zero_gives_no_index", kTwo, 0, 0, -1},
        RICase{"kovats_rt_negative_gives_no_index", kTwo, 0, -3, -1},
        RICase{"equal_rt_points_give_no_index", {{5, 1000}, {5, 1100}}, 1, 7, -1}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

TEST(LibraryRICalibration, ClearKeepsTheCalculationOption)
{
    CLibraryRICalibrationData t = Table(kTwo, 1);
    t.Clear();
    EXPECT_EQ(t.GetCount(), 0u);
    EXPECT_EQ(t.GetCalculationOption(), 1);
}

TEST(LibraryRICalibration, PointIndexOutOfRangeIsAnInvalidArgument)
{
    const CLibraryRICalibrationData t = Table(kTwo, 0);
    EXPECT_THROW(t.GetPoint(2), CInvalidArgumentException);
    EXPECT_NO_THROW(t.GetPoint(1));
}

TEST(LibraryRICalibration, CopyFromIsDeepAndCarriesTheOption)
{
    CLibraryRICalibrationData source = Table(kThree, 1);
    CLibraryMassSpectrumData spectrum;
    spectrum.Append(CLibraryMassSpectrumPoint(43, 100, 100, 7));
    source.GetPoint(0).Set("decane", 5, 1000, spectrum);

    CLibraryRICalibrationData copy = Table({{1, 1}}, 0);
    copy.CopyFrom(source);
    ASSERT_EQ(copy.GetCount(), 3u);
    EXPECT_EQ(copy.GetCalculationOption(), 1);
    EXPECT_EQ(copy.GetPoint(0).GetName(), "decane");
    EXPECT_EQ(copy.GetPoint(0).GetSpectrum(), spectrum);
    EXPECT_NE(&copy.GetPoint(0), &source.GetPoint(0));
    source.GetPoint(0).Set("changed", 6, 1001, {});
    EXPECT_EQ(copy.GetPoint(0).GetName(), "decane");

    copy.CopyFrom(copy); // a copy from itself leaves it unchanged
    EXPECT_EQ(copy.GetCount(), 3u);
    EXPECT_EQ(copy.GetPoint(2).GetRI(), 1200);
}

TEST(LibraryRICalibration, RecalibrateCopiesTheTableAndSetsEveryPeaksRI)
{
    CLibraryChromatogram c;
    for (double rt : {2.5, 7.5, 15.0, 25.0})
        c.AddPeak().RT = rt;
    CLibraryRICalibrationData table = Table(kThree, 1);
    c.Recalibrate(table);
    EXPECT_EQ(c.RICalibration.GetCount(), 3u);
    EXPECT_EQ(c.RICalibration.GetCalculationOption(), 1);
    const double expected[] = {950, 1050, 1150, 1250};
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(c.GetPeak(i)->RI, expected[i], 1e-9) << i;

    table.Clear(); // the chromatogram holds its own copy
    EXPECT_EQ(c.RICalibration.GetCount(), 3u);

    c.Recalibrate(Table({{5, 1000}}, 1));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(c.GetPeak(i)->RI, -1) << i;
}
