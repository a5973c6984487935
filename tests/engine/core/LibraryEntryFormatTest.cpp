// The library entry format, checked against bytes built by hand from the documented layouts.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/Archive.h"
#include "engine/core/LibraryChromatogram.h"
#include "tests/support/ByteBuilder.h"
#include "tests/support/TempDir.h"

using namespace corvelin;

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Line {
    double mass, intensity, extra, weighted;
};

// Layout 4: a spectrum record.
void AddSpectrum(ByteBuilder& b, const std::vector<Line>& lines, std::uint32_t version = 5)
{
    b.Header("LibraryChromatogramMassSpectrum", version).I32(static_cast<std::int32_t>(lines.size()));
    for (const auto& l : lines)
        b.F64(l.mass).F64(l.intensity).F64(l.extra).F64(l.weighted);
}

// Layout 3: a peak record (RI only from version 5 on).
void AddPeak(ByteBuilder& b, double area, double height, double rt, double start, double end, double ri,
             const std::vector<Line>& lines, std::uint32_t version = 5)
{
    b.Header("LibraryChromatogramPeak", version).F64(area).F64(height).F64(rt).F64(start).F64(end);
    if (version >= 5)
        b.F64(ri);
    AddSpectrum(b, lines);
}

// Layout 2 items 1-9.
void AddChromatogramHead(ByteBuilder& b, std::uint32_t version = 5, double totalHeight = 0, std::int32_t peakCount = 0,
                         double totalArea = 0, const std::string& dataFile = "", double extra = 0,
                         const std::string& sample = "", const std::string& comment = "")
{
    b.Header("LibraryChromatogram", version).F64(totalHeight).I32(peakCount).F64(totalArea).Text(dataFile);
    b.F64(extra).Text(sample).Text(comment);
}

void AddEmptyRITable(ByteBuilder& b, std::int32_t option = 0)
{
    b.Header("LibraryRICalibrationData").I32(option).U16(0);
}

// The documented 103-byte entry: no peaks, empty texts, empty RI table, empty source path.
Bytes EmptyEntry()
{
    ByteBuilder b;
    AddChromatogramHead(b);
    AddEmptyRITable(b);
    b.I32(0).F64(0).Text("");
    return b.bytes;
}

CLibraryChromatogram LoadBytes(const Bytes& bytes, const std::string& path = "mem")
{
    CLibraryChromatogram c;
    c.LoadFromBytes(bytes, path, false);
    return c;
}

} // namespace

TEST(LibraryEntryFormat, EmptyEntryMatchesTheWorkedLayoutAtEveryOffset)
{
    const Bytes expected = EmptyEntry();
    ASSERT_EQ(expected.size(), 103u);
    // Spot checks of the worked layout's offsets, independent of the builder.
    EXPECT_EQ(expected[0], 0x13);
    EXPECT_EQ(std::string(expected.begin() + 1, expected.begin() + 20), "LibraryChromatogram");
    EXPECT_EQ(Bytes(expected.begin() + 20, expected.begin() + 24), (Bytes{0x05, 0x00, 0x00, 0x80}));
    EXPECT_EQ(expected[44], 0x00);
    EXPECT_EQ(expected[55], 0x18);
    EXPECT_EQ(std::string(expected.begin() + 56, expected.begin() + 80), "LibraryRICalibrationData");
    EXPECT_EQ(Bytes(expected.begin() + 80, expected.begin() + 84), (Bytes{0x05, 0x00, 0x00, 0x80}));
    EXPECT_EQ(Bytes(expected.begin() + 88, expected.begin() + 90), (Bytes{0x00, 0x00}));
    EXPECT_EQ(expected[102], 0x00);

    CLibraryChromatogram c;
    const Bytes written = c.StoreToBytes();
    ASSERT_EQ(written.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(written[i], expected[i]) << "offset " << i;

    CLibraryChromatogram back = LoadBytes(expected);
    EXPECT_EQ(back.PeakCount, 0);
    EXPECT_TRUE(back.Peaks.empty());
    EXPECT_EQ(back.RICalibration.GetCount(), 0u);
}

// A peak of n spectrum lines adds 76 + 40 + 32·n bytes, laid out as documented.
class PeakRecordSize : public ::testing::TestWithParam<int> {};

TEST_P(PeakRecordSize, PeakAddsItsDocumentedBytes)
{
    const int n = GetParam();
    std::vector<Line> lines;
    for (int i = 0; i < n; ++i)
        lines.push_back({50.0 + i, 100.0 / (i + 1), 0.25 * i, 90.0 - i});

    ByteBuilder b;
    AddChromatogramHead(b, 5, 1234.5, 1, 5678.25, "run.D", 3.5, "Sample", "Comment");
    AddEmptyRITable(b, 1);
    b.I32(1);
    AddPeak(b, 10.5, 20.25, 3.125, 3.0, 3.25, 1010.5, lines);
    b.F64(0).Text("");

    ByteBuilder empty;
    AddChromatogramHead(empty, 5, 1234.5, 1, 5678.25, "run.D", 3.5, "Sample", "Comment");
    AddEmptyRITable(empty, 1);
    empty.I32(0).F64(0).Text("");
    EXPECT_EQ(b.Size() - empty.Size(), static_cast<std::size_t>(76 + 40 + 32 * n));

    CLibraryChromatogram c;
    c.TotalHeight = 1234.5;
    c.TotalArea = 5678.25;
    c.DataFile = "run.D";
    c.ExtraValue = 3.5;
    c.SampleName = "Sample";
    c.Comment = "Comment";
    c.RICalibration.SetCalculationOption(1);
    auto& peak = c.AddPeak();
    peak.Area = 10.5;
    peak.Height = 20.25;
    peak.RT = 3.125;
    peak.StartRT = 3.0;
    peak.EndRT = 3.25;
    peak.RI = 1010.5;
    for (const auto& l : lines)
        peak.Spectrum.Append(CLibraryMassSpectrumPoint(l.mass, l.intensity, l.weighted, l.extra));
    EXPECT_EQ(c.StoreToBytes(), b.bytes);

    CLibraryChromatogram back = LoadBytes(b.bytes);
    ASSERT_EQ(back.Peaks.size(), 1u);
    EXPECT_EQ(back.PeakCount, 1);
    EXPECT_EQ(back.DataFile, "run.D");
    EXPECT_EQ(back.SampleName, "Sample");
    EXPECT_EQ(back.Comment, "Comment");
    EXPECT_EQ(back.ExtraValue, 3.5);
    EXPECT_EQ(back.RICalibration.GetCalculationOption(), 1);
    const auto* p = back.GetPeak(0);
    EXPECT_EQ(p->PeakNumber, 1);
    EXPECT_EQ(p->RI, 1010.5);
    EXPECT_EQ(p->EndRT, 3.25);
    EXPECT_EQ(p->Spectrum, peak.Spectrum);
}

INSTANTIATE_TEST_SUITE_P(LineCounts, PeakRecordSize, ::testing::Values(0, 1, 3, 40));

// Text length prefixes: 1 byte below 255, then 0xFF + uint16, then 0xFF FFFF + uint32.
struct PrefixCase {
    std::size_t length;
    Bytes prefix;
};
class TextPrefix : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(TextPrefix, WrittenAndReadWithTheDocumentedPrefix)
{
    const auto& pc = GetParam();
    const std::string text(pc.length, 'x');
    CArchive out;
    out.WriteString(text);
    const Bytes& bytes = out.Bytes();
    ASSERT_EQ(bytes.size(), pc.prefix.size() + pc.length);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(pc.prefix.size())), pc.prefix);

    ByteBuilder expected;
    expected.bytes = pc.prefix;
    expected.Chars(text);
    CArchive in(expected.bytes, "mem", false);
    EXPECT_EQ(in.ReadString(), text);
    EXPECT_EQ(in.Remaining(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Lengths, TextPrefix,
                         ::testing::Values(PrefixCase{0, {0x00}}, PrefixCase{254, {0xFE}},
                                           PrefixCase{255, {0xFF, 0xFF, 0x00}}, PrefixCase{0xFFFD, {0xFF, 0xFD, 0xFF}},
                                           PrefixCase{0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}}));

TEST(LibraryEntryFormat, CommentsOf254And255CharactersInAnEntry)
{
    for (std::size_t n : {254u, 255u}) {
        ByteBuilder b;
        AddChromatogramHead(b, 5, 0, 0, 0, "", 0, "", std::string(n, 'c'));
        AddEmptyRITable(b);
        b.I32(0).F64(0).Text("");
        EXPECT_EQ(b.Size(), 103 + n + (n == 255 ? 2 : 0));
        CLibraryChromatogram c;
        c.Comment = std::string(n, 'c');
        EXPECT_EQ(c.StoreToBytes(), b.bytes) << n;
        EXPECT_EQ(LoadBytes(b.bytes).Comment, c.Comment) << n;
    }
}

TEST(LibraryEntryFormat, ReadsTheLongLengthForms)
{
    // uint32 form and the 64-bit form for short texts (a reader accepts any form).
    ByteBuilder b;
    b.U8(0xFF).U16(0xFFFF).U32(3).Chars("abc");
    b.U8(0xFF).U16(0xFFFF).U32(0xFFFFFFFF).U64(2).Chars("de");
    CArchive in(b.bytes, "mem", false);
    EXPECT_EQ(in.ReadString(), "abc");
    EXPECT_EQ(in.ReadString(), "de");
}

TEST(LibraryEntryFormat, WideTextIsReadAsUtf8AndWrittenBackAs8Bit)
{
    ByteBuilder b;
    b.Header("LibraryChromatogram").F64(0).I32(0).F64(0).Text("").F64(0);
    b.WideText(u"M\u00fcller \u03b1\U0001F600");
    b.Text("");
    AddEmptyRITable(b);
    b.I32(0).F64(0).Text("");
    CLibraryChromatogram c = LoadBytes(b.bytes);
    EXPECT_EQ(c.SampleName, "M\xc3\xbcller \xce\xb1\xf0\x9f\x98\x80");

    ByteBuilder expected;
    AddChromatogramHead(expected, 5, 0, 0, 0, "", 0, c.SampleName, "");
    AddEmptyRITable(expected);
    expected.I32(0).F64(0).Text("mem");
    c.SourcePath = "mem";
    EXPECT_EQ(c.StoreToBytes(), expected.bytes);
}

TEST(LibraryEntryFormat, WideClassIdentifierIsAccepted)
{
    ByteBuilder b;
    b.WideText(u"LibraryChromatogram").U32(0x80000005).F64(0).I32(0).F64(0).Text("").F64(0).Text("").Text("");
    AddEmptyRITable(b);
    b.I32(0);
    EXPECT_NO_THROW(LoadBytes(b.bytes));
}

TEST(LibraryEntryFormat, WideTextWithALoneSurrogateBecomesAQuestionMark)
{
    ByteBuilder b;
    b.U8(0xFF).U16(0xFFFE).U8(3).U16('a').U16(0xD800).U16('b');
    CArchive in(b.bytes, "mem", false);
    EXPECT_EQ(in.ReadString(), "a?b");
}

// Three RI points: the first tagged 0xFFFF with the class header, every later one 0x8001.
TEST(LibraryEntryFormat, RITableOfThreePointsUsesTheClassTagOfIndexOne)
{
    const std::vector<Line> spec = {{57, 100, 0, 100}};
    ByteBuilder b;
    b.Header("LibraryRICalibrationData").I32(1).U16(3);
    b.U16(0xFFFF).U16(5).U16(26).Chars("CLibraryRICalibrationPoint");
    b.Header("LibraryRICalibrationPoint").Text("C10").F64(5).F64(1000);
    AddSpectrum(b, spec);
    b.U16(0x8001);
    b.Header("LibraryRICalibrationPoint").Text("C11").F64(10).F64(1100);
    AddSpectrum(b, {});
    b.U16(0x8001);
    b.Header("LibraryRICalibrationPoint").Text("C12").F64(20).F64(1200);
    AddSpectrum(b, {});
    // Sizes as documented: class header 32, each point 1+25+4+(1+3)+16 plus its spectrum, 2 per later tag.
    EXPECT_EQ(b.Size(), std::size_t(1 + 24 + 4 + 4 + 2) + 32 + 3 * (1 + 25 + 4 + 4 + 16 + 40) + 32 + 2 * 2);
    const Bytes tagged = {0xFF, 0xFF, 0x05, 0x00, 0x1A, 0x00};
    EXPECT_TRUE(std::search(b.bytes.begin(), b.bytes.end(), tagged.begin(), tagged.end()) != b.bytes.end());

    CLibraryRICalibrationData table;
    table.SetCalculationOption(1);
    CLibraryMassSpectrumData s;
    s.Append(CLibraryMassSpectrumPoint(57, 100, 100));
    const char* names[] = {"C10", "C11", "C12"};
    const double rts[] = {5, 10, 20};
    for (int i = 0; i < 3; ++i) {
        auto p = std::make_unique<CLibraryRICalibrationPoint>();
        p->Set(names[i], rts[i], 1000 + 100 * i, i == 0 ? s : CLibraryMassSpectrumData());
        table.AddPoint(std::move(p));
    }
    CArchive out;
    table.Serialize(out);
    EXPECT_EQ(out.Bytes(), b.bytes);

    CLibraryRICalibrationData back;
    CArchive in(b.bytes, "mem", false);
    back.Serialize(in);
    ASSERT_EQ(back.GetCount(), 3u);
    EXPECT_EQ(back.GetCalculationOption(), 1);
    EXPECT_EQ(back.GetPoint(2).GetName(), "C12");
    EXPECT_EQ(back.GetPoint(2).GetRI(), 1200);
    EXPECT_EQ(back.GetPoint(0).GetSpectrum(), s);
}

TEST(LibraryEntryFormat, TaggedObjectsAcceptOtherClassVersionsAndTheBigClassTag)
{
    ByteBuilder b;
    b.Header("LibraryRICalibrationData").I32(0).U16(3);
    b.U16(0xFFFF).U16(9).U16(26).Chars("CLibraryRICalibrationPoint"); // class version 9 is accepted
    b.Header("LibraryRICalibrationPoint").Text("a").F64(1).F64(100);
    AddSpectrum(b, {});
    b.U16(0);                      // tag 0: no object
    b.U16(0x7FFF).U32(0x80000001); // 32-bit class tag of index 1
    b.Header("LibraryRICalibrationPoint").Text("b").F64(2).F64(200);
    AddSpectrum(b, {});
    CLibraryRICalibrationData t;
    CArchive in(b.bytes, "mem", false);
    t.Serialize(in);
    ASSERT_EQ(t.GetCount(), 2u);
    EXPECT_EQ(t.GetPoint(1).GetName(), "b");
}

struct BadTagCase {
    const char* name;
    Bytes tagBytes;
    CArchiveException::Cause cause;
    friend void PrintTo(const BadTagCase& c, std::ostream* os) { *os << c.name; }
};
class BadTag : public ::testing::TestWithParam<BadTagCase> {};

TEST_P(BadTag, IsRefusedWithItsCause)
{
    ByteBuilder b;
    b.Header("LibraryRICalibrationData").I32(0).U16(1).Append(GetParam().tagBytes);
    b.Header("LibraryRICalibrationPoint").Text("a").F64(1).F64(100);
    AddSpectrum(b, {});
    CLibraryRICalibrationData t;
    CArchive in(b.bytes, "entry.ChromLibEntry", false);
    try {
        t.Serialize(in);
        FAIL() << "no error";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.GetCause(), GetParam().cause) << e.what();
        EXPECT_EQ(e.GetPath(), "entry.ChromLibEntry");
    }
}

ByteBuilder NewClass(const std::string& name)
{
    ByteBuilder b;
    b.U16(0xFFFF).U16(5).U16(static_cast<std::uint16_t>(name.size())).Chars(name);
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Tags, BadTag,
    ::testing::Values(BadTagCase{"unknown", NewClass("CNoSuchClass").bytes, CArchiveException::BadClass},
                      BadTagCase{"long", NewClass(std::string(64, 'C')).bytes, CArchiveException::BadClass},
                      BadTagCase{"otherclass", NewClass("CLibraryMassSpectrum").bytes, CArchiveException::BadClass},
                      BadTagCase{"unseenclass", Bytes{0x01, 0x80}, CArchiveException::BadIndex},
                      BadTagCase{"backref", Bytes{0x02, 0x00}, CArchiveException::BadIndex}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LibraryEntryFormat, Version4EntryReadsWithoutRIAndIsWrittenBackAsVersion5)
{
    const std::vector<Line> lines = {{41, 30, 0, 20}, {43, 100, 0, 100}};
    ByteBuilder v4;
    AddChromatogramHead(v4, 4, 500, 1, 900, "old.D", 0, "old", "");
    v4.I32(1);
    AddPeak(v4, 90, 50, 4.5, 4.4, 4.6, 0, lines, 4);
    v4.F64(0).Text("");

    CLibraryChromatogram c = LoadBytes(v4.bytes);
    EXPECT_EQ(c.RICalibration.GetCount(), 0u);
    ASSERT_EQ(c.Peaks.size(), 1u);
    EXPECT_EQ(c.GetPeak(0)->RI, 0);
    EXPECT_EQ(c.GetPeak(0)->RT, 4.5);

    ByteBuilder v5;
    AddChromatogramHead(v5, 5, 500, 1, 900, "old.D", 0, "old", "");
    AddEmptyRITable(v5);
    v5.I32(1);
    AddPeak(v5, 90, 50, 4.5, 4.4, 4.6, 0, lines, 5);
    v5.F64(0).Text("");
    EXPECT_EQ(c.StoreToBytes(), v5.bytes);
}

TEST(LibraryEntryFormat, EntryWithoutTailTakesTheFilePathAndNoLargestHeight)
{
    ByteBuilder b;
    AddChromatogramHead(b, 5, 10, 1, 20);
    AddEmptyRITable(b);
    b.I32(1);
    AddPeak(b, 5, 7, 1, 0.9, 1.1, 0, {});
    TempDir dir;
    const std::string path = dir.File("no-tail.ChromLibEntry");
    WriteAllBytes(path, b.bytes);
    CLibraryChromatogram c;
    c.SourcePath = "previous";
    ASSERT_TRUE(c.LoadEntry(path));
    EXPECT_EQ(c.SourcePath, path);
    EXPECT_EQ(c.LargestHeight, 0);
    EXPECT_EQ(c.GetLargestHeight(), 7);
}

TEST(LibraryEntryFormat, TailLargestHeightIsIgnoredAndStoredPathReplacedByTheFilePath)
{
    ByteBuilder b;
    AddChromatogramHead(b);
    AddEmptyRITable(b);
    b.I32(0).F64(99).Text("/elsewhere/x.ChromLibEntry");
    TempDir dir;
    const std::string path = dir.File("x.ChromLibEntry");
    WriteAllBytes(path, b.bytes);
    CLibraryChromatogram c;
    ASSERT_TRUE(c.LoadEntry(path));
    EXPECT_EQ(c.LargestHeight, 0);
    EXPECT_EQ(c.SourcePath, path);
    // From memory the stored path is kept.
    EXPECT_EQ(LoadBytes(b.bytes).SourcePath, "/elsewhere/x.ChromLibEntry");
}

TEST(LibraryEntryFormat, PeakCountFieldAndNumberOfRecordsAreIndependent)
{
    ByteBuilder b;
    AddChromatogramHead(b, 5, 0, 7);
    AddEmptyRITable(b);
    b.I32(2);
    AddPeak(b, 1, 1, 1, 1, 1, 1, {});
    AddPeak(b, 2, 2, 2, 2, 2, 2, {});
    b.F64(0).Text("");
    CLibraryChromatogram c = LoadBytes(b.bytes);
    EXPECT_EQ(c.PeakCount, 7);
    ASSERT_EQ(c.Peaks.size(), 2u);
    EXPECT_EQ(c.GetPeak(1)->PeakNumber, 2);
    EXPECT_EQ(c.GetPeak(1)->Area, 2);
}

struct BadHeaderCase {
    const char* name;
    Bytes bytes;
    friend void PrintTo(const BadHeaderCase& c, std::ostream* os) { *os << c.name; }
};
class BadHeader : public ::testing::TestWithParam<BadHeaderCase> {};

TEST_P(BadHeader, IsABadClassErrorAndLoadEntryFails)
{
    CLibraryChromatogram c;
    try {
        c.LoadFromBytes(GetParam().bytes, "f.ChromLibEntry", true);
        FAIL() << "no error";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.GetCause(), CArchiveException::BadClass) << e.what();
        EXPECT_EQ(e.GetPath(), "f.ChromLibEntry");
    }
    TempDir dir;
    WriteAllBytes(dir.File("f"), GetParam().bytes);
    EXPECT_FALSE(c.LoadEntry(dir.File("f")));
}

BadHeaderCase Refused(const char* name, void (*build)(ByteBuilder&))
{
    ByteBuilder b;
    build(b);
    return {name, b.bytes};
}

INSTANTIATE_TEST_SUITE_P(
    Headers, BadHeader,
    ::testing::Values(Refused("peak_identifier", [](ByteBuilder& b) { AddPeak(b, 1, 1, 1, 1, 1, 1, {}); }),
                      Refused("lower_case", [](ByteBuilder& b) { b.Header("libraryChromatogram"); }),
                      Refused("version3",
                              [](ByteBuilder& b) {
                                  AddChromatogramHead(b, 3);
                                  b.I32(0);
                              }),
                      Refused("ri_table_version4",
                              [](ByteBuilder& b) {
                                  AddChromatogramHead(b);
                                  b.Header("LibraryRICalibrationData", 4).I32(0).U16(0);
                                  b.I32(0);
                              }),
                      Refused("peak_version2",
                              [](ByteBuilder& b) {
                                  AddChromatogramHead(b);
                                  AddEmptyRITable(b);
                                  b.I32(1);
                                  AddPeak(b, 1, 1, 1, 1, 1, 1, {}, 2);
                              })),
    [](const auto& info) { return std::string(info.param.name); });
