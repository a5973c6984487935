// Hostile library entry files: truncations, absurd counts and lengths. Each read must end in a clean archive
// error (LoadEntry false) without an allocation larger than the file justifies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/LibraryChromatogram.h"
#include "tests/support/ByteBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/probe/AllocationProbe.h"

using namespace corvelin;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Allocations may reach the file's size (it is read whole) plus a small constant, never more.
constexpr std::size_t kAllocationSlack = 4096;

void AddSpectrum(ByteBuilder& b, int lines)
{
    b.Header("LibraryChromatogramMassSpectrum").I32(lines);
    for (int i = 0; i < lines; ++i)
        b.F64(40 + i).F64(10 * i).F64(0).F64(5 * i);
}

void AddHead(ByteBuilder& b)
{
    b.Header("LibraryChromatogram").F64(1e6).I32(2).F64(5e6).Text("run.D").F64(1).Text("sample").Text("comment");
}

// A valid entry with texts, three RI points, two peaks with spectra and the tail; dataEnd receives the offset
// where the stored record ends and the optional tail begins.
Bytes RichEntry(std::size_t& dataEnd)
{
    ByteBuilder b;
    AddHead(b);
    b.Header("LibraryRICalibrationData").I32(1).U16(3);
    b.U16(0xFFFF).U16(5).U16(26).Chars("CLibraryRICalibrationPoint");
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            b.U16(0x8001);
        b.Header("LibraryRICalibrationPoint")
            .Text(std::string("C").append(std::to_string(10 + i)))
            .F64(5 + 5 * i)
            .F64(1000 + 100 * i);
        AddSpectrum(b, i);
    }
    b.I32(2);
    for (int i = 0; i < 2; ++i) {
        b.Header("LibraryChromatogramPeak").F64(100).F64(50).F64(6 + i).F64(5.9 + i).F64(6.1 + i).F64(1020 + i);
        AddSpectrum(b, 3);
    }
    dataEnd = b.Size();
    b.F64(50).Text("stored/path");
    return b.bytes;
}

// A spectrum's lines as an entry stores them.
Bytes StoredLines(const CLibraryMassSpectrumData& s)
{
    ByteBuilder b;
    for (const auto& p : s.Points())
        b.F64(p.Mass).F64(p.Intensity).F64(p.PointExtra).F64(p.WeightedIntensity);
    return b.bytes;
}

struct Outcome {
    bool ok;
    std::size_t largestAllocation;
};

Outcome LoadFile(const TempDir& dir, const Bytes& bytes)
{
    const std::string path = dir.File("hostile.ChromLibEntry");
    WriteAllBytes(path, bytes);
    CLibraryChromatogram c;
    AllocationProbe probe;
    const bool ok = c.LoadEntry(path);
    return {ok, probe.Largest()};
}

CArchiveException::Cause LoadCause(const Bytes& bytes)
{
    CLibraryChromatogram c;
    try {
        c.LoadFromBytes(bytes, "hostile", true);
    } catch (const CArchiveException& e) {
        return e.GetCause();
    }
    return CArchiveException::None;
}

} // namespace

TEST(LibraryEntryHostile, EveryTruncationFailsCleanlyUntilTheOptionalTail)
{
    std::size_t dataEnd = 0;
    const Bytes full = RichEntry(dataEnd);
    TempDir dir;
    for (std::size_t n = 0; n <= full.size(); ++n) {
        const Bytes cut(full.begin(), full.begin() + static_cast<long>(n));
        const Outcome o = LoadFile(dir, cut);
        EXPECT_EQ(o.ok, n >= dataEnd) << "length " << n;
        EXPECT_LE(o.largestAllocation, n + kAllocationSlack) << "length " << n;
        if (n < dataEnd) {
            EXPECT_EQ(LoadCause(cut), CArchiveException::EndOfFile) << "length " << n;
        }
    }
    // The full entry reads with all its parts.
    const std::string path = dir.File("full.ChromLibEntry");
    WriteAllBytes(path, full);
    CLibraryChromatogram c;
    ASSERT_TRUE(c.LoadEntry(path));
    EXPECT_EQ(c.Peaks.size(), 2u);
    EXPECT_EQ(c.RICalibration.GetCount(), 3u);
    EXPECT_EQ(c.GetPeak(1)->Spectrum.GetCount(), 3u);
    EXPECT_EQ(c.SourcePath, path);
}

struct HostileCase {
    const char* name;
    Bytes bytes;
    CArchiveException::Cause cause;
    friend void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.name; }
};

class HostileEntry : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileEntry, FailsWithoutAHugeAllocation)
{
    const HostileCase& hc = GetParam();
    EXPECT_EQ(LoadCause(hc.bytes), hc.cause);
    TempDir dir;
    const Outcome o = LoadFile(dir, hc.bytes);
    EXPECT_FALSE(o.ok);
    EXPECT_LE(o.largestAllocation, hc.bytes.size() + kAllocationSlack);
}

namespace {

// The head, an empty RI table, then what build adds.
HostileCase Case(const char* name, CArchiveException::Cause cause, void (*build)(ByteBuilder&))
{
    ByteBuilder b;
    build(b);
    b.U64(0).U64(0); // a few spare bytes after the damage
    return {name, b.bytes, cause};
}

void HeadAndEmptyTable(ByteBuilder& b)
{
    AddHead(b);
    b.Header("LibraryRICalibrationData").I32(0).U16(0);
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Files, HostileEntry,
    ::testing::Values(Case("peak_records_2p31m1", CArchiveException::EndOfFile,
                           [](ByteBuilder& b) {
                               HeadAndEmptyTable(b);
                               b.I32(0x7FFFFFFF);
                           }),
                      Case("peak_records_negative", CArchiveException::Generic,
                           [](ByteBuilder& b) {
                               HeadAndEmptyTable(b);
                               b.I32(-1);
                           }),
                      Case("spectrum_lines_2p31m1", CArchiveException::EndOfFile,
                           [](ByteBuilder& b) {
                               HeadAndEmptyTable(b);
                               b.I32(1).Header("LibraryChromatogramPeak").F64(1).F64(1).F64(1).F64(1).F64(1).F64(1);
                               b.Header("LibraryChromatogramMassSpectrum").I32(0x7FFFFFFF);
                           }),
                      Case("spectrum_lines_negative", CArchiveException::Generic,
                           [](ByteBuilder& b) {
                               HeadAndEmptyTable(b);
                               b.I32(1).Header("LibraryChromatogramPeak").F64(1).F64(1).F64(1).F64(1).F64(1).F64(1);
                               b.Header("LibraryChromatogramMassSpectrum").I32(INT32_MIN);
                           }),
                      Case("ri_points_2p32m1", CArchiveException::EndOfFile,
                           [](ByteBuilder& b) {
                               AddHead(b);
                               b.Header("LibraryRICalibrationData").I32(0).U16(0xFFFF).U32(0xFFFFFFFF);
                           }),
                      Case("ri_point_lines_2p31m1", CArchiveException::EndOfFile,
                           [](ByteBuilder& b) {
                               AddHead(b);
                               b.Header("LibraryRICalibrationData").I32(0).U16(1);
                               b.U16(0xFFFF).U16(5).U16(26).Chars("CLibraryRICalibrationPoint");
                               b.Header("LibraryRICalibrationPoint").Text("x").F64(1).F64(1);
                               b.Header("LibraryChromatogramMassSpectrum").I32(0x7FFFFFFF);
                           }),
                      Case("text_byte_length_beyond_file", CArchiveException::EndOfFile,
                           [](ByteBuilder& b) { b.U8(0xFE).Chars("LibraryChromatogram"); }),
                      Case("text_uint16_length_beyond_file", CArchiveException::EndOfFile,
                           [](ByteBuilder& b) {
                               b.Header("LibraryChromatogram").F64(0).I32(0).F64(0);
                               b.U8(0xFF).U16(0xFFFD);
                           }),
                      Case("text_uint32_length_beyond_file", CArchiveException::EndOfFile,
                           [](ByteBuilder& b) {
                               b.Header("LibraryChromatogram").F64(0).I32(0).F64(0).Text("").F64(0);
                               b.U8(0xFF).U16(0xFFFF).U32(0xFFFFFFFE);
                           }),
                      Case("text_64bit_length_beyond_file", CArchiveException::EndOfFile,
                           [](ByteBuilder& b) {
                               b.Header("LibraryChromatogram").F64(0).I32(0).F64(0).Text("").F64(0).Text("");
                               b.U8(0xFF).U16(0xFFFF).U32(0xFFFFFFFF).U64(0xFFFFFFFFFFFFFFFFull);
                           }),
                      Case("wide_text_length_beyond_file", CArchiveException::EndOfFile,
                           [](ByteBuilder& b) {
                               b.Header("LibraryChromatogram").F64(0).I32(0).F64(0);
                               b.U8(0xFF).U16(0xFFFE).U8(0xFF).U16(0xFFFF).U32(0x7FFFFFFF);
                           }),
                      Case("wide_text_odd_byte_short", CArchiveException::EndOfFile,
                           [](ByteBuilder& b) {
                               b.Header("LibraryChromatogram").F64(0).I32(0).F64(0);
                               b.U8(0xFF).U16(0xFFFE).U8(9); // 9 units = 18 bytes; 16 spare bytes follow
                           }),
                      Case("class_identifier_length_beyond_file", CArchiveException::EndOfFile,
                           [](ByteBuilder& b) { b.U8(0xFF).U16(0xFFFF).U32(0x7FFFFFFF).Chars("LibraryChromatogram"); }),
                      Case("tag_class_name_beyond_file", CArchiveException::EndOfFile,
                           [](ByteBuilder& b) {
                               AddHead(b);
                               b.Header("LibraryRICalibrationData").I32(0).U16(1);
                               b.U16(0xFFFF).U16(5).U16(40).Chars("CLibraryRICal");
                           })),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LibraryEntryHostile, MissingFileAndFolderAreFileErrors)
{
    TempDir dir;
    CLibraryChromatogram c;
    EXPECT_FALSE(c.LoadEntry(dir.File("absent.ChromLibEntry")));
    try {
        c.ReadEntry(dir.File("absent.ChromLibEntry"));
        FAIL() << "no error";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetCause(), CFileException::FileNotFound);
    }
    EXPECT_FALSE(c.LoadEntry(dir.Path().string()));
}

// Read peak by peak, an entry gives what reading it whole gives, and is refused exactly when that is: every
// byte of the peak records changed in turn and every cut, the records of the current form (read at once) and of
// older ones (without RI, version 3 spectra).
TEST(LibraryEntryHostile, PeakByPeakReadingAgreesWithTheWholeReadOnEveryDamage)
{
    ByteBuilder b;
    AddHead(b);
    b.Header("LibraryRICalibrationData").I32(1).U16(0);
    const std::size_t peaksFrom = b.Size();
    b.I32(3);
    b.Header("LibraryChromatogramPeak").F64(100).F64(50).F64(6).F64(5.9).F64(6.1).F64(1020);
    AddSpectrum(b, 3);
    b.Header("LibraryChromatogramPeak", 4).F64(90).F64(40).F64(7).F64(6.9).F64(7.1);
    b.Header("LibraryChromatogramMassSpectrum", 3).I32(1).F64(41).F64(20).F64(0).F64(7);
    b.Header("LibraryChromatogramPeak").F64(80).F64(30).F64(8).F64(7.9).F64(8.1).F64(1040);
    AddSpectrum(b, 0);
    const TempDir dir;
    const std::string path = dir.File("e.ChromLibEntry");
    int compared = 0;
    for (std::size_t at = peaksFrom; at <= b.Size(); ++at)
        for (int change = 0; change < 5; ++change) {
            Bytes bytes = b.bytes;
            if (change == 4)
                bytes.resize(at); // cut before this byte
            else if (at == bytes.size())
                continue;
            else
                bytes[at] = change == 0 ? 0xFF : change == 1 ? bytes[at] ^ 1 : change == 2 ? 0x80 : 0;
            WriteAllBytes(path, bytes);
            // Both reads as the fields and line bytes of every peak.
            const auto add = [](Bytes& to, const CLibraryChromatogramPeakData& p, std::span<const std::uint8_t> lines) {
                ByteBuilder f;
                f.F64(p.Area).F64(p.Height).F64(p.RT).F64(p.StartRT).F64(p.EndRT).F64(p.RI).I32(p.PeakNumber);
                to.insert(to.end(), f.bytes.begin(), f.bytes.end());
                to.insert(to.end(), lines.begin(), lines.end());
            };
            CLibraryChromatogram whole;
            const bool wholeOk = whole.LoadEntry(path);
            Bytes expected, seen;
            for (const auto& p : whole.Peaks)
                add(expected, *p, StoredLines(p->Spectrum));
            CLibraryChromatogram byPeak;
            bool ok = true;
            try {
                byPeak.ReadEntryPeakByPeak(path, [&](const auto& p, auto lines) { add(seen, p, lines); });
            } catch (const CEngineException&) {
                ok = false;
            }
            ASSERT_EQ(ok, wholeOk) << "byte " << at << ", change " << change;
            if (!ok)
                continue;
            ASSERT_EQ(seen, expected) << "byte " << at << ", change " << change;
            ++compared;
        }
    EXPECT_GT(compared, 300); // many changes leave a readable entry (a changed value, a longer identifier refused)
}
