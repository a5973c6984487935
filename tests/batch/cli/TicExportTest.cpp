// "/Display=<run> /TIC=<csv>": the run's total-ion chromatogram and the peaks a conversion of it writes, as CSV.
#include <filesystem>

#include "engine/core/LibraryChromatogram.h"
#include "engine/platform/CFormat.h"
#include "tests/batch/cli/BatchFixture.h"
#include "tests/readers/common/JcampWriter.h"

using namespace corvelin;
using namespace corvelin::synthetic;

namespace {

class BatchTicExport : public BatchFixture {
protected:
    void SetUp() override
    {
        BatchFixture::SetUp();
        RegisterReader("JCAMP-GCMS", "JCAMP-DX GC/MS", CORVELIN_JCAMP_READER, ".jdx");
    }
};

// The bytes built from the documented layout: every field quoted and followed by a comma, CR LF line ends.
std::string Row(const std::vector<std::string>& fields)
{
    std::string line;
    for (const std::string& field : fields)
        line += "\"" + field + "\",";
    return line + "\r\n";
}

TEST_F(BatchTicExport, WritesTheScansAndTheConvertedPeaks)
{
    RunSpec spec;
    spec.Scans = 240;
    spec.Components = {{90.0, 1.5, 2.0e5, {{43, 100}, {58, 45}}}, {140.0, 2.0, 1.0e5, {{91, 100}, {65, 20}}}};
    const std::vector<Scan> scans = MakeScans(spec);
    const std::string run = Data("mix.jdx");
    WriteAllText(run, WriteJcamp(scans, Dialect::PagesAndRetentionTime));

    const std::string csv = Data("mix-tic.csv");
    const BatchRun ticRun = Run({"/Display=" + run, "/TIC=" + csv});
    ASSERT_EQ(ticRun.ExitCode, 0) << ticRun.Err;
    ASSERT_EQ(Run({"/Convert=" + run}).ExitCode, 0);
    CLibraryChromatogram converted;
    converted.ReadEntry(run + ".ChromLibEntry");
    ASSERT_EQ(converted.PeakCount, 2);

    std::string expected = Row({"Time (min)", "TIC"});
    for (const Scan& scan : scans) {
        double tic = 0;
        for (const auto& [mass, intensity] : scan.Lines)
            tic += std::stod(Number(intensity)); // as written into the file
        expected += Row({FormatC("%.4f", scan.Seconds / 60), FormatC("%.0f", tic)});
    }
    expected += "\r\n" + Row({"Peak", "Apex (min)", "Start (min)", "End (min)", "Area"});
    for (int i = 0; i < converted.PeakCount; ++i) {
        const CLibraryChromatogramPeakData* peak = converted.GetPeak(i);
        expected += Row({std::to_string(i + 1), FormatC("%.4f", peak->RT), FormatC("%.4f", peak->StartRT),
                         FormatC("%.4f", peak->EndRT), FormatC("%.0f", peak->Area)});
    }
    EXPECT_EQ(ReadAllText(csv), expected);
}

TEST_F(BatchTicExport, APeakListOrAModuleWithoutScansGivesNoFile)
{
    // The test data system's module reads its files as peak lists and hands over no scans.
    const std::string file = Data("list.raw");
    MakeTestChromatogram("list", {{2.0, 100}, {3.0, 50}})->SaveEntry(file);
    const std::string csv = Data("list-tic.csv");
    const BatchRun run = Run({"/Display=" + file, "/TIC=" + csv});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_NE(run.Err.find("holds no scan run"), std::string::npos) << run.Err;
    EXPECT_FALSE(std::filesystem::exists(csv));
    // It still reads and displays as before.
    EXPECT_EQ(Run({"/Display=" + file}).ExitCode, 0);
}

} // namespace
