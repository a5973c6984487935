#include "engine/core/LibraryMassSpectrum.h"

#include <array>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string_view>

#include "engine/core/Exceptions.h"
#include "engine/core/Archive.h"

namespace corvelin {

namespace {
constexpr const char* kSpectrumIdentifier = "LibraryChromatogramMassSpectrum";
constexpr std::uint32_t kSpectrumMinVersion = 3;
constexpr std::size_t kLineBytes = CLibraryMassSpectrumData::LineBytes;
} // namespace

void CLibraryMassSpectrumPoint::SetMass(double mass)
{
    if (!(mass >= 1))
        throw CInvalidArgumentException("mass must be at least 1");
    Mass = mass;
}

std::size_t CLibraryMassSpectrumData::Append(const CLibraryMassSpectrumPoint& point)
{
    m_points.push_back(point);
    return m_points.size() - 1;
}

void CLibraryMassSpectrumData::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteClassHeader(kSpectrumIdentifier);
        ar.WriteInt32(static_cast<std::int32_t>(m_points.size()));
        for (const auto& p : m_points)
            ar << p.Mass << p.Intensity << p.PointExtra << p.WeightedIntensity;
        return;
    }
    AppendLines(ReadLineBytes(ar));
}

std::span<const std::uint8_t> CLibraryMassSpectrumData::ReadLineBytes(CArchive& ar)
{
    ar.ReadClassHeader(kSpectrumIdentifier, kSpectrumMinVersion);
    // The count is checked against the bytes left, so whatever is sized by it is bounded by the stream's size.
    const std::size_t n = ar.ReadItemCount(kLineBytes);
    return ar.ReadRawBytes(n * kLineBytes); // one bounds check for all lines
}

std::span<const std::uint8_t> CLibraryMassSpectrumData::ReadLineBytesAtOnce(CArchive& ar)
{
    // The current form: the identifier with its one-byte length, the version, the line count.
    constexpr std::string_view identifier = kSpectrumIdentifier;
    constexpr std::size_t headerBytes = 1 + identifier.size() + 4 + 4;
    const std::uint8_t* p = ar.Peek(headerBytes);
    const auto word = [&](std::size_t at) {
        return std::uint32_t{p[at]} | std::uint32_t{p[at + 1]} << 8 | std::uint32_t{p[at + 2]} << 16 |
               std::uint32_t{p[at + 3]} << 24;
    };
    if (!p || p[0] != identifier.size() || std::memcmp(p + 1, identifier.data(), identifier.size()) != 0 ||
        (word(headerBytes - 8) & 0x7FFFFFFFu) < kSpectrumMinVersion || word(headerBytes - 4) > 0x7FFFFFFFu ||
        word(headerBytes - 4) > (ar.Remaining() - headerBytes) / kLineBytes)
        return ReadLineBytes(ar);
    const std::size_t n = word(headerBytes - 4);
    ar.ReadRawBytes(headerBytes);
    return ar.ReadRawBytes(n * kLineBytes);
}

void CLibraryMassSpectrumData::AppendLines(std::span<const std::uint8_t> lineBytes)
{
    const std::size_t n = lineBytes.size() / kLineBytes;
    const std::size_t first = m_points.size();
    m_points.resize(first + n);
    const std::uint8_t* line = lineBytes.data();
    for (std::size_t i = 0; i < n; ++i, line += kLineBytes)
        m_points[first + i] = DecodeLine(line);
}

void CLibraryMassSpectrumData::ApplyWeighting()
{
    double largest = 0;
    for (auto& p : m_points) {
        p.WeightedIntensity = std::pow(p.Mass, 1.5) * std::pow(p.Intensity, 0.6);
        if (p.WeightedIntensity > largest)
            largest = p.WeightedIntensity;
    }
    for (auto& p : m_points)
        p.WeightedIntensity = largest > 0 ? p.WeightedIntensity / largest * 100.0 : 0.0;
}

double CLibraryMassSpectrumData::SumOfSquares(double threshold) const noexcept
{
    double sum = 0;
    for (const auto& p : m_points)
        if (p.Intensity >= threshold)
            sum += p.WeightedIntensity * p.WeightedIntensity;
    return sum;
}

double CLibraryMassSpectrumData::LargestMass() const noexcept
{
    double largest = 0;
    for (const auto& p : m_points)
        if (p.Mass > largest)
            largest = p.Mass;
    return largest;
}

std::pair<double, double> CLibraryMassSpectrumData::TopIntensities() const
{
    std::array<double, 5> top{}; // descending; unfilled positions stay 0
    for (const auto& p : m_points) {
        if (!(p.Intensity >= 0.1))
            continue;
        double v = p.Intensity;
        for (double& slot : top)
            if (v > slot)
                std::swap(v, slot);
    }
    return {top[0], top[4]};
}

double MSMatch(const CLibraryMassSpectrumData& a, double sumOfSquaresA, const CLibraryMassSpectrumData& b,
               double sumOfSquaresB, double threshold) noexcept
{
    const auto& A = a.Points();
    const auto& B = b.Points();
    if (A.empty() && B.empty())
        return 1.0;
    double dot = 0;
    std::size_t i = 0; // into B
    std::size_t j = 0; // into A
    while (i < B.size() && j < A.size()) {
        const CLibraryMassSpectrumPoint& q = A[j];
        const CLibraryMassSpectrumPoint& r = B[i];
        if (std::fabs(q.Mass - r.Mass) < 0.75) {
            if (q.Intensity >= threshold && r.Intensity >= threshold) {
                dot += q.WeightedIntensity * r.WeightedIntensity;
                ++i;
                ++j;
            } else if (q.Intensity < threshold) {
                ++j;
            } else {
                ++i;
            }
        } else if (q.Mass < r.Mass) {
            ++j;
        } else {
            ++i;
        }
    }
    if (sumOfSquaresA == 0 || sumOfSquaresB == 0)
        return 0.0;
    return dot * dot / (sumOfSquaresA * sumOfSquaresB);
}

double MSMatch(const CLibraryMassSpectrumData& a, const CLibraryMassSpectrumData& b, double threshold) noexcept
{
    return MSMatch(a, a.SumOfSquares(threshold), b, b.SumOfSquares(threshold), threshold);
}

} // namespace corvelin
