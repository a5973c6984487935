// The archive stream's primitives, counts and the running index of tagged objects.
#include <gtest/gtest.h>

#include "engine/core/Archive.h"
#include "engine/core/LibraryRICalibration.h"
#include "tests/support/ByteBuilder.h"

using namespace corvelin;

TEST(Archive, PrimitivesAreLittleEndian)
{
    CArchive out;
    out << std::int32_t(-2) << std::uint16_t(0x1234) << std::uint32_t(0x80000005) << 1.0;
    ByteBuilder b;
    b.U8(0xFE).U8(0xFF).U8(0xFF).U8(0xFF).U8(0x34).U8(0x12).U8(0x05).U8(0).U8(0).U8(0x80);
    b.U8(0).U8(0).U8(0).U8(0).U8(0).U8(0).U8(0xF0).U8(0x3F);
    EXPECT_EQ(out.Bytes(), b.bytes);
}

TEST(Archive, ObjectCountsUseTheLongFormFrom0xFFFF)
{
    CArchive out;
    out.WriteCount(0xFFFE);
    out.WriteCount(0xFFFF);
    ByteBuilder b;
    b.U16(0xFFFE).U16(0xFFFF).U32(0xFFFF);
    EXPECT_EQ(out.Bytes(), b.bytes);
    CArchive in(b.bytes, "mem", false);
    EXPECT_EQ(in.ReadCount(), 0xFFFEu);
    EXPECT_EQ(in.ReadCount(), 0xFFFFu);
}

// Classes and objects share one running index: spectrum class 1, object 2; point class 3, object 4; then a
// spectrum is tagged 0x8001 and a point 0x8003.
TEST(Archive, ClassesAndObjectsShareOneRunningIndex)
{
    CLibraryMassSpectrum spectrum;
    CLibraryRICalibrationPoint point;
    point.Set("x", 1, 2, {});
    CArchive out;
    out.WriteObject(&spectrum);
    out.WriteObject(&point);
    out.WriteObject(nullptr);
    out.WriteObject(&spectrum);
    out.WriteObject(&point);

    ByteBuilder b;
    b.U16(0xFFFF).U16(5).U16(20).Chars("CLibraryMassSpectrum").Header("LibraryChromatogramMassSpectrum").I32(0);
    b.U16(0xFFFF).U16(5).U16(26).Chars("CLibraryRICalibrationPoint");
    b.Header("LibraryRICalibrationPoint").Text("x").F64(1).F64(2).Header("LibraryChromatogramMassSpectrum").I32(0);
    b.U16(0);
    b.U16(0x8001).Header("LibraryChromatogramMassSpectrum").I32(0);
    b.U16(0x8003);
    b.Header("LibraryRICalibrationPoint").Text("x").F64(1).F64(2).Header("LibraryChromatogramMassSpectrum").I32(0);
    EXPECT_EQ(out.Bytes(), b.bytes);

    CArchive in(b.bytes, "mem", false);
    EXPECT_NE(in.ReadObjectAs<CLibraryMassSpectrum>("CLibraryMassSpectrum"), nullptr);
    EXPECT_NE(in.ReadObjectAs<CLibraryRICalibrationPoint>("CLibraryRICalibrationPoint"), nullptr);
    EXPECT_EQ(in.ReadObject(), nullptr);
    EXPECT_STREQ(in.ReadObject()->GetClassName(), "CLibraryMassSpectrum");
    EXPECT_EQ(in.ReadObjectAs<CLibraryRICalibrationPoint>("CLibraryRICalibrationPoint")->GetName(), "x");
    EXPECT_EQ(in.Remaining(), 0u);
}

// Past index 0x7FFE a class tag takes the 32-bit form: 0x7FFF, then 0x80000000 OR the index.
TEST(Archive, LargeIndexesUseThe32BitClassTag)
{
    CLibraryMassSpectrum spectrum;
    CLibraryRICalibrationPoint point;
    CArchive out;
    const std::uint32_t spectra = 0x4000; // indexes 1 (class) and 2 ... 0x4001 (objects)
    for (std::uint32_t i = 0; i < spectra; ++i)
        out.WriteObject(&spectrum);
    for (std::uint32_t i = 0; i < spectra; ++i) // the point class takes index 0x4002, its objects up to 0x8002
        out.WriteObject(&point);
    out.WriteObject(&spectrum); // object index 0x8003, but the spectrum class has index 1: short tag
    const std::size_t before = out.Bytes().size();
    out.WriteObject(&point);
    // The point class has index 0x4002, below 0x7FFF: still the short form 0x8000 | 0x4002.
    const std::vector<std::uint8_t> written(out.Bytes().begin() + static_cast<long>(before),
                                            out.Bytes().begin() + static_cast<long>(before) + 2);
    EXPECT_EQ(written, (std::vector<std::uint8_t>{0x02, 0xC0}));

    // A class first seen after index 0x7FFE is referred to with the 32-bit tag.
    CLibraryRICalibrationData table;
    const std::uint32_t tableIndex = 0x8005; // after the objects 0x8003 and 0x8004
    out.WriteObject(&table);
    const std::size_t afterFirstTable = out.Bytes().size();
    out.WriteObject(&table);
    const std::vector<std::uint8_t> big(out.Bytes().begin() + static_cast<long>(afterFirstTable),
                                        out.Bytes().begin() + static_cast<long>(afterFirstTable) + 6);
    ByteBuilder expected;
    expected.U16(0x7FFF).U32(0x80000000u | tableIndex);
    EXPECT_EQ(big, expected.bytes);

    // And everything reads back.
    CArchive in(out.Bytes(), "mem", false);
    for (std::uint32_t i = 0; i < spectra; ++i)
        ASSERT_NE(in.ReadObjectAs<CLibraryMassSpectrum>("CLibraryMassSpectrum"), nullptr);
    for (std::uint32_t i = 0; i < spectra; ++i)
        ASSERT_NE(in.ReadObjectAs<CLibraryRICalibrationPoint>("CLibraryRICalibrationPoint"), nullptr);
    EXPECT_NE(in.ReadObjectAs<CLibraryMassSpectrum>("CLibraryMassSpectrum"), nullptr);
    EXPECT_NE(in.ReadObjectAs<CLibraryRICalibrationPoint>("CLibraryRICalibrationPoint"), nullptr);
    EXPECT_NE(in.ReadObjectAs<CLibraryRICalibrationData>("CLibraryRICalibrationData"), nullptr);
    EXPECT_NE(in.ReadObjectAs<CLibraryRICalibrationData>("CLibraryRICalibrationData"), nullptr);
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(Archive, WritingToALoadingArchiveAndReadingFromAStoringOneAreErrors)
{
    CArchive out;
    EXPECT_THROW(out.ReadByte(), CArchiveException);
    const std::vector<std::uint8_t> none;
    CArchive in(none, "mem", false);
    EXPECT_THROW(in.WriteByte(1), CArchiveException);
    EXPECT_THROW(in.ReadByte(), CArchiveException);
}
