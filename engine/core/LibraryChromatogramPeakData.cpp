#include "engine/core/LibraryChromatogramPeakData.h"

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

} // namespace corvelin
