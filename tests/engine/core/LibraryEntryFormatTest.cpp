// The library entry format, checked against bytes built by hand from the documented layouts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Archive.h"
#include "core/LibraryChromatogram.h"
#include "support/ByteBuilder.h"
#include "support/TempDir.h"

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
