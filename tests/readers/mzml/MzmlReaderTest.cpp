#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <fstream>
#include <regex>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include "pwiz/utility/misc/Base64.hpp"

#include "readers/mzml/MzmlPreScan.h"
#include "readers/mzml/MzmlRunReader.h"
#include "readers/jcamp-gcms/JcampRunReader.h"
#include "engine/peaks/PeakDetector.h"
#include "readers/peak-detector/RunReadError.h"
#include "tests/readers/common/JcampWriter.h"
#include "tests/readers/common/MzmlWriter.h"
#include "tests/readers/common/SyntheticRun.h"
#include "tests/support/TempDir.h"
#include "tests/support/probe/AllocationProbe.h"

using namespace corvelin;

using namespace synthetic;

namespace {

RunSpec MixSpec()
{
    RunSpec spec;
    spec.Components = ThreeComponents();
    spec.MassOffset = 0.0131; // accurate masses, as converters write them
    return spec;
}

// The peaks of a run as the shared detector finds them.
CPeakList Peaks(const CScanRun& run)
{
    return DetectPeaks(run, CPeakDetectorSettings{});
}

void ExpectSamePeaks(const CPeakList& actual, const CPeakList& expected, double areaTolerance)
{
    ASSERT_EQ(actual.Peaks.size(), expected.Peaks.size());
    for (std::size_t i = 0; i < expected.Peaks.size(); ++i) {
        EXPECT_NEAR(actual.Peaks[i].RT, expected.Peaks[i].RT, 1e-6) << "peak " << i;
        EXPECT_NEAR(actual.Peaks[i].Area, expected.Peaks[i].Area, areaTolerance * expected.Peaks[i].Area)
            << "peak " << i;
        EXPECT_EQ(actual.Peaks[i].Spectrum.size(), expected.Peaks[i].Spectrum.size()) << "peak " << i;
    }
}

struct Form {
    const char* Name;
    MzmlForm Kind;
    bool Minutes;
    const char* Ending;
    double AreaTolerance; // numpress encodings are lossy
};

class MzmlForms : public ::testing::TestWithParam<Form> {};

// Every form a converter writes gives the peaks of the scans themselves, and the texts of the run.
TEST_P(MzmlForms, ReadsTheScansOfEveryForm)
{
    const Form form = GetParam();
    const std::vector<Scan> scans = MakeScans(MixSpec());
    TempDir dir;
    const std::string path = dir.File(std::string("MIX") + form.Ending);
    MzmlOptions options;
    options.Form = form.Kind;
    options.TimesInMinutes = form.Minutes;
    WriteMzml(scans, path, options);

    const CScanRun run = ReadMzmlRun(path);
    ASSERT_EQ(run.ScanCount(), scans.size());
    EXPECT_NEAR(run.Time(0), scans.front().Seconds / 60, 1e-9);
    if (form.Kind != MzmlForm::MzXML) { // mzXML files carry no sample description
        EXPECT_EQ(run.SampleName, "test mix");
        EXPECT_EQ(run.Comment, "10 ng per component");
    }
    EXPECT_EQ(run.DataFile, std::string("MIX") + form.Ending);
    const CPeakList expected = Peaks(ToScanRun(scans));
    ASSERT_EQ(expected.Peaks.size(), 3u);
    ExpectSamePeaks(Peaks(run), expected, form.AreaTolerance);
}

INSTANTIATE_TEST_SUITE_P(Files, MzmlForms,
                         ::testing::Values(Form{"PlainSeconds", MzmlForm::Plain, false, ".mzML", 1e-9},
                                           Form{"PlainMinutes", MzmlForm::Plain, true, ".mzML", 1e-9},
                                           Form{"Zlib", MzmlForm::Zlib, false, ".mzML", 1e-9},
                                           Form{"Numpress", MzmlForm::Numpress, false, ".mzML", 2e-3},
                                           Form{"MzXML", MzmlForm::MzXML, false, ".mzXML", 1e-6}),
                         [](const ::testing::TestParamInfo<Form>& info) { return std::string(info.param.Name); });

// The same run exported as JCAMP-DX and as mzML is one run: same peaks, RT and area within the JCAMP text's
// rounding.
TEST(MzmlReader, AgreesWithTheJcampReaderOnTheSameRun)
{
    const std::vector<Scan> scans = MakeScans(MixSpec());
    TempDir dir;
    WriteMzml(scans, dir.File("MIX.mzML"), {.Form = MzmlForm::Zlib});
    const CPeakList fromMzml = Peaks(ReadMzmlRun(dir.File("MIX.mzML")));
    const CPeakList fromJcamp = Peaks(ParseJcampRun(WriteJcamp(scans, Dialect::PagesAndRetentionTime), "MIX.JDX"));
    ExpectSamePeaks(fromMzml, fromJcamp, 1e-4);
}

// Profile scans (each ion as a small profile around its mass) fall into the same nominal bins as the centroids.
TEST(MzmlReader, ProfileScansGiveTheCentroidPeaks)
{
    const std::vector<Scan> centroid = MakeScans(MixSpec());
    std::vector<Scan> profile = centroid;
    for (Scan& scan : profile) {
        std::vector<std::pair<double, double>> lines;
        for (const auto& [m, v] : scan.Lines) {
            lines.emplace_back(m - 0.12, 0.25 * v);
            lines.emplace_back(m, 0.5 * v);
            lines.emplace_back(m + 0.12, 0.25 * v);
        }
        scan.Lines = std::move(lines);
    }
    TempDir dir;
    WriteMzml(profile, dir.File("P.mzML"), {.Profile = true});
    ExpectSamePeaks(Peaks(ReadMzmlRun(dir.File("P.mzML"))), Peaks(ToScanRun(centroid)), 1e-9);
}

struct Refusal {
    const char* Name;
    int Code;
    const char* Reason; // a part of the message
};

void PrintTo(const Refusal& r, std::ostream* os)
{
    *os << r.Name;
}

// Writes the file a refusal case is about.
std::string WriteRefusedFile(const TempDir& dir, const std::string& name)
{
    const std::vector<Scan> scans = MakeScans(MixSpec());
    const std::string path = dir.File(name + ".mzML");
    if (name == "NotXml")
        WriteAllText(path, "##TITLE= not xml\n1,2\n");
    else if (name == "OtherXml")
        WriteAllText(path, "<?xml version=\"1.0\"?>\n<html><body>run</body></html>\n");
    else if (name == "ChromatogramsOnly")
        WriteMzml(scans, path, {.ChromatogramOnly = true});
    else if (name == "MsMsOnly")
        WriteMzml(scans, path, {.MsLevel = 2});
    else if (name == "NoTimes")
        WriteMzml(scans, path, {.WithTimes = false});
    else if (name == "OneScan")
        WriteMzml({scans.front()}, path);
    else if (name == "Truncated") {
        WriteMzml(scans, path);
        const std::string text = ReadAllText(path);
        WriteAllText(path, text.substr(0, text.size() / 2));
    } else if (name == "Folder") {
        std::filesystem::create_directory(path);
    } else {
        // The files that made data up: each a written file with one pattern replaced everywhere.
        const auto edit = [&](MzmlOptions options, const char* pattern, const std::string& replacement) {
            WriteMzml(scans, path, options);
            WriteAllText(path, std::regex_replace(ReadAllText(path), std::regex(pattern), replacement));
        };
        const MzmlOptions plain{.Indexed = false}, mzxml{.Form = MzmlForm::MzXML};
        if (name == "CharacterReference")
            edit(plain, "<run id=\"run\"", "<run id=\"r&#117;n\"");
        else if (name == "NulInATag") // the data library wrote attributes past its table on this one
            edit(plain, "<run id=\"run\"", std::string("<run id=\"run\" a=\0x\0 b=\"1\" c=\"2\"", 31));
        else if (name == "IndexAtTheFirstScan") { // every offset of the spectrum index points at the first spectrum
            WriteMzml(scans, path);
            std::string text = ReadAllText(path);
            std::string first;
            for (std::size_t at = text.find("<offset ", text.find("<index name=\"spectrum\">"));
                 at != std::string::npos; at = text.find("<offset ", at + 1)) {
                const std::size_t value = text.find('>', at) + 1;
                const std::size_t end = text.find('<', value);
                if (first.empty())
                    first = text.substr(value, end - value);
                text.replace(value, end - value, first);
            }
            WriteAllText(path, text);
        } else if (name == "UnquotedValue")
            edit(plain, "<run id=\"run\"", "<run id=run");
        else if (name == "TimeWithoutUnit")
            edit(plain, "(name=\"scan start time\" value=\"[^\"]*\")[^/]*/>", "$1/>");
        else if (name == "IntensityArraysMissing")
            edit(
                plain,
                "<binaryDataArray [^>]*>(?:(?!</binaryDataArray>)[\\s\\S])*intensity array[\\s\\S]*?</binaryDataArray>",
                "");
        else if (name == "ZeroPeaksCount")
            edit(mzxml, "peaksCount=\"[0-9]+\"", "peaksCount=\"0\"");
        else if (name == "WrappedPeaksCount")
            edit(mzxml, "peaksCount=\"[0-9]+\"", "peaksCount=\"4294967296\"");
        else if (name == "NoPeaks")
            edit(mzxml, "(peaksCount=)\"[0-9]+\"([\\s\\S]*?<peaks[^>]*>)[^<]*", "$1\"0\"$2");
    }
    return path;
}

class MzmlRefusals : public ::testing::TestWithParam<Refusal> {};

TEST_P(MzmlRefusals, RefusedWithCodeAndReason)
{
    TempDir dir;
    const std::string path = WriteRefusedFile(dir, GetParam().Name);
    try {
        ReadMzmlRun(path);
        FAIL() << "read without error";
    } catch (const CRunReadError& e) {
        EXPECT_EQ(e.Code(), GetParam().Code);
        EXPECT_NE(std::string(e.what()).find(GetParam().Reason), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, MzmlRefusals,
    ::testing::Values(
        Refusal{"NotXml", EMEDIUMTYPE, "not an XML file"}, Refusal{"OtherXml", EMEDIUMTYPE, "neither mzML nor mzXML"},
        Refusal{"ChromatogramsOnly", ENODATA, "chromatograms only"}, Refusal{"MsMsOnly", ENODATA, "MS/MS scans only"},
        Refusal{"NoTimes", ENODATA, "no scan start time"}, Refusal{"OneScan", EMEDIUMTYPE, "fewer than two MS1 scans"},
        Refusal{"Truncated", EBADMSG, "damaged or truncated"}, Refusal{"Missing", ENOENT, "does not exist"},
        Refusal{"Folder", EISDIR, "not a file"}, Refusal{"CharacterReference", EILSEQ, "numeric character references"},
        Refusal{"NulInATag", EILSEQ, "NUL byte"}, Refusal{"UnquotedValue", EBADMSG, "not in quotes"},
        Refusal{"IndexAtTheFirstScan", EBADMSG, "index points at the wrong scans"},
        Refusal{"TimeWithoutUnit", EBADMSG, "has no unit of time"},
        Refusal{"IntensityArraysMissing", EBADMSG, "lacks its mass or intensity"},
        Refusal{"ZeroPeaksCount", EBADMSG, "peaksCount (\"0\")"},
        Refusal{"WrappedPeaksCount", EFBIG, "peaksCount (4294967296)"},
        Refusal{"NoPeaks", ENODATA, "Every MS1 scan of the file is empty"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.Name); });

// Counts announced in the file (a billion scans, a billion lines in a scan) drive no allocation: the file is
// refused or read within memory in proportion to its size.
TEST(MzmlReader, AnnouncedCountsDriveNoAllocation)
{
    const std::vector<Scan> scans = MakeScans(MixSpec());
    TempDir dir;
    WriteMzml(scans, dir.File("run.mzML"));
    const std::string text = ReadAllText(dir.File("run.mzML"));
    const std::string scansClaimed =
        std::regex_replace(text, std::regex("spectrumList count=\"[0-9]+\""), "spectrumList count=\"1000000000\"");
    const std::string linesClaimed =
        std::regex_replace(text, std::regex("defaultArrayLength=\"[0-9]+\""), "defaultArrayLength=\"1000000000\"",
                           std::regex_constants::format_first_only);
    ASSERT_NE(scansClaimed, text);
    ASSERT_NE(linesClaimed, text);
    for (const std::string& hostile : {scansClaimed, linesClaimed}) {
        WriteAllText(dir.File("hostile.mzML"), hostile);
        AllocationProbe probe;
        try {
            const CScanRun run = ReadMzmlRun(dir.File("hostile.mzML"));
            EXPECT_EQ(run.ScanCount(), scans.size());
        } catch (const CRunReadError& e) {
            EXPECT_EQ(e.Code(), EBADMSG) << e.what();
        }
        EXPECT_LT(probe.Largest(), text.size() + 4096);
    }
}

// A long comment before the root element, and mzXML retention times in every duration form ("PT5M30.5S"), read as
// the plain file does.
TEST(MzmlReader, ReadsCommentsBeforeTheRootAndEveryDurationForm)
{
    const std::vector<Scan> scans = MakeScans(MixSpec());
    TempDir dir;
    WriteMzml(scans, dir.File("plain.mzML"), {.Indexed = false});
    const std::string plain = ReadAllText(dir.File("plain.mzML"));
    const std::size_t root = plain.find("<mzML");
    WriteAllText(dir.File("comment.mzML"),
                 plain.substr(0, root) + "<!--" + std::string(600, 'c') + "-->" + plain.substr(root));
    WriteMzml(scans, dir.File("run.mzXML"), {.Form = MzmlForm::MzXML});
    const std::string mzxml = ReadAllText(dir.File("run.mzXML")); // "PT<seconds>S", all below 20 minutes
    WriteAllText(dir.File("durations.mzXML"), std::regex_replace(mzxml, std::regex("\"PT"), "\"PT0M"));
    EXPECT_DOUBLE_EQ(MzxmlDurationSeconds("PT1M5.5S"), 65.5);
    EXPECT_DOUBLE_EQ(MzxmlDurationSeconds("P1DT2H"), 93600);
    EXPECT_TRUE(std::isnan(MzxmlDurationSeconds("P1Y")));
    for (const char* name : {"comment.mzML", "durations.mzXML"}) {
        const CScanRun run = ReadMzmlRun(dir.File(name));
        ASSERT_EQ(run.ScanCount(), scans.size()) << name;
        for (std::size_t i = 0; i < scans.size(); ++i)
            EXPECT_NEAR(run.Time(i), scans[i].Seconds / 60, 1e-6) << name << " scan " << i;
    }
}

// zlib-compressed zeros, base64-encoded: an array that inflates to mb MiB.
std::string Bomb(int mb)
{
    z_stream z{};
    deflateInit(&z, Z_BEST_SPEED);
    const std::vector<unsigned char> zeros(1 << 20);
    std::string deflated(static_cast<std::size_t>(mb) << 15, '\0');
    z.next_out = reinterpret_cast<unsigned char*>(deflated.data());
    z.avail_out = static_cast<unsigned>(deflated.size());
    for (int i = 0; i < mb; ++i) {
        z.next_in = const_cast<unsigned char*>(zeros.data());
        z.avail_in = static_cast<unsigned>(zeros.size());
        deflate(&z, i == mb - 1 ? Z_FINISH : Z_NO_FLUSH);
    }
    deflated.resize(z.total_out);
    deflateEnd(&z);
    std::string text(pwiz::util::Base64::binaryToTextSize(deflated.size()), '\0');
    text.resize(pwiz::util::Base64::binaryToText(deflated.data(), deflated.size(), text.data()));
    return text;
}

// Arrays that inflate far beyond any run are refused before the data library inflates them: one array of 512 MiB
// of zeros in about 2 MB, and every array of the file inflating to 100 MiB (each below the bound of one array,
// together gigabytes from a file of a few MB). Under an address-space limit of 256 MiB above the process's size
// the read ends with the reader's refusal (exit 0 below), not with an exhausted memory.
TEST(MzmlReader, CompressedArraysAreBoundedBeforeTheyAreInflated)
{
    TempDir dir;
    WriteMzml(MakeScans(MixSpec()), dir.File("run.mzML"), {.Form = MzmlForm::Zlib, .Indexed = false});
    const std::string text = ReadAllText(dir.File("run.mzML"));
    // Replaces the first `arrays` arrays' text by the bomb.
    const auto write = [&](const std::string& name, const std::string& bomb, int arrays) {
        std::string out;
        std::size_t at = 0;
        for (int i = 0; i < arrays; ++i) {
            const std::size_t open = text.find("<binary>", at);
            if (open == std::string::npos)
                break;
            out += text.substr(at, open + 8 - at) + bomb;
            at = text.find("</binary>", open);
        }
        WriteAllText(dir.File(name), out + text.substr(at));
    };
    write("one.mzML", Bomb(512), 1);
    write("all.mzML", Bomb(100), 1000);

#if !defined(__SANITIZE_ADDRESS__) // the sanitizer's reserved shadow memory leaves no room to limit
    for (const char* name : {"one.mzML", "all.mzML"}) {
        if (const pid_t child = ::fork(); child == 0) {
            std::ifstream status("/proc/self/status");
            std::string line;
            while (std::getline(status, line) && line.rfind("VmSize:", 0) != 0) {
            }
            const rlimit limit{(std::stoul(line.substr(7)) << 10) + (rlim_t{256} << 20), RLIM_INFINITY};
            ::setrlimit(RLIMIT_AS, &limit);
            try {
                ReadMzmlRun(dir.File(name));
            } catch (const CRunReadError& e) {
                ::_exit(e.Code() == EFBIG ? 0 : 1);
            } catch (...) {
            }
            ::_exit(2);
        } else {
            int status = 0;
            ::waitpid(child, &status, 0);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << name << ": " << status;
        }
    }
#endif
}

} // namespace
