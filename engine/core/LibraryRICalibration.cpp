#include "engine/core/LibraryRICalibration.h"

#include <cmath>
#include <stdexcept>

#include "engine/core/Exceptions.h"
#include "engine/core/Archive.h"

namespace corvelin {

namespace {
constexpr const char* kPointIdentifier = "LibraryRICalibrationPoint";
constexpr const char* kTableIdentifier = "LibraryRICalibrationData";
constexpr std::uint32_t kMinVersion = 5;
constexpr const char* kPointClass = "CLibraryRICalibrationPoint";
// The smallest tagged item is a 2-byte tag.
constexpr std::size_t kMinTaggedObjectBytes = 2;
} // namespace

void CLibraryRICalibrationPoint::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteClassHeader(kPointIdentifier);
        ar << CompoundName << RT << RI;
    } else {
        ar.ReadClassHeader(kPointIdentifier, kMinVersion);
        ar >> CompoundName >> RT >> RI;
    }
    Spectrum.Serialize(ar);
}

void CLibraryRICalibrationPoint::Set(const std::string& name, double rt, double ri,
                                     const CLibraryMassSpectrumData& spectrum)
{
    CompoundName = name;
    RT = rt;
    RI = ri;
    Spectrum.CopyFrom(spectrum);
}

void CLibraryRICalibrationData::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteClassHeader(kTableIdentifier);
        ar.WriteInt32(CalculationOption);
        ar.WriteCount(static_cast<std::uint32_t>(m_points.size()));
        for (const auto& p : m_points)
            ar.WriteObject(p.get());
        return;
    }
    ar.ReadClassHeader(kTableIdentifier, kMinVersion);
    CalculationOption = ar.ReadInt32();
    const std::uint32_t count = ar.ReadCount();
    ar.CheckFits(count, kMinTaggedObjectBytes);
    m_points.clear();
    for (std::uint32_t i = 0; i < count; ++i) {
        auto point = ar.ReadObjectAs<CLibraryRICalibrationPoint>(kPointClass);
        if (point) // tag 0: no object stored in this slot
            m_points.push_back(std::move(point));
    }
}

const CLibraryRICalibrationPoint& CLibraryRICalibrationData::GetPoint(std::size_t i) const
{
    if (i >= m_points.size())
        throw CInvalidArgumentException("RI calibration point index out of range");
    return *m_points[i];
}

CLibraryRICalibrationPoint& CLibraryRICalibrationData::GetPoint(std::size_t i)
{
    if (i >= m_points.size())
        throw CInvalidArgumentException("RI calibration point index out of range");
    return *m_points[i];
}

std::size_t CLibraryRICalibrationData::AddPoint(std::unique_ptr<CLibraryRICalibrationPoint> point)
{
    if (!point)
        throw CInvalidArgumentException("no RI calibration point");
    m_points.push_back(std::move(point));
    return m_points.size() - 1;
}

void CLibraryRICalibrationData::CopyFrom(const CLibraryRICalibrationData& other)
{
    // The new points are made before the old ones go, so a copy from itself is harmless.
    std::vector<std::unique_ptr<CLibraryRICalibrationPoint>> points;
    points.reserve(other.m_points.size());
    for (const auto& source : other.m_points) {
        auto point = std::make_unique<CLibraryRICalibrationPoint>();
        point->Set(source->CompoundName, source->RT, source->RI, source->Spectrum);
        points.push_back(std::move(point));
    }
    m_points = std::move(points);
    CalculationOption = other.CalculationOption;
}

double CLibraryRICalibrationData::ComputeRI(double rt) const noexcept
{
    const std::size_t n = m_points.size();
    if (n < 2)
        return -1;
    std::size_t lower = n; // none yet
    for (std::size_t k = 0; k < n; ++k) {
        if (m_points[k]->RT == rt)
            return m_points[k]->RI;
        if (m_points[k]->RT < rt)
            lower = k;
    }
    if (lower == n)
        lower = 0;
    std::size_t upper = n;
    for (std::size_t k = 0; k < n; ++k) {
        if (m_points[k]->RT > rt && m_points[k]->RT > m_points[lower]->RT) {
            upper = k;
            break;
        }
    }
    if (upper == n) {
        upper = n - 1;
        if (upper == lower)
            lower = n - 2;
    }
    const double rt1 = m_points[lower]->RT, ri1 = m_points[lower]->RI;
    const double rt2 = m_points[upper]->RT, ri2 = m_points[upper]->RI;
    const double ri = CalculationOption == 0
                          ? ri1 + (ri2 - ri1) * (std::log(rt) - std::log(rt1)) / (std::log(rt2) - std::log(rt1))
                          : ri1 + (ri2 - ri1) * (rt - rt1) / (rt2 - rt1);
    // RT <= 0 with the Kovats option, or two chosen points with equal RT, give no number: no RI then.
    return std::isfinite(ri) ? ri : -1;
}

} // namespace corvelin
