#include "engine/core/LibraryChromatogramPeakData.h"

#include <bit>
#include <cstring>
#include <string_view>

#include "engine/core/Archive.h"

namespace corvelin {

namespace {
constexpr const char* kPeakIdentifier = "LibraryChromatogramPeak";
constexpr std::uint32_t kPeakMinVersion = 3;
constexpr std::uint32_t kRIVersion = 5;
} // namespace

void CLibraryChromatogramPeakData::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteClassHeader(kPeakIdentifier);
        ar << Area << Height << RT << StartRT << EndRT << RI;
    } else {
        ReadFields(ar);
    }
    Spectrum.Serialize(ar);
}

void CLibraryChromatogramPeakData::ReadFields(CArchive& ar)
{
    const std::uint32_t version = ar.ReadClassHeader(kPeakIdentifier, kPeakMinVersion);
    ar >> Area >> Height >> RT >> StartRT >> EndRT;
    RI = 0;
    if (version >= kRIVersion)
        ar >> RI;
}

void CLibraryChromatogramPeakData::ReadFieldsAtOnce(CArchive& ar)
{
    // The current form: the identifier with its one-byte length, a version with RI, the six doubles.
    constexpr std::string_view identifier = kPeakIdentifier;
    constexpr std::size_t headerBytes = 1 + identifier.size() + 4;
    constexpr std::size_t recordBytes = headerBytes + 6 * 8;
    const std::uint8_t* p = ar.Peek(recordBytes);
    const auto version = [&] {
        const std::uint8_t* v = p + headerBytes - 4;
        return (std::uint32_t{v[0]} | std::uint32_t{v[1]} << 8 | std::uint32_t{v[2]} << 16 |
                std::uint32_t{v[3]} << 24) &
               0x7FFFFFFFu;
    };
    if (std::endian::native != std::endian::little || !p || p[0] != identifier.size() ||
        std::memcmp(p + 1, identifier.data(), identifier.size()) != 0 || version() < kRIVersion) {
        ReadFields(ar);
        return;
    }
    double* fields[] = {&Area, &Height, &RT, &StartRT, &EndRT, &RI};
    for (std::size_t k = 0; k < 6; ++k)
        std::memcpy(fields[k], p + headerBytes + 8 * k, 8);
    ar.ReadRawBytes(recordBytes);
}

} // namespace corvelin
