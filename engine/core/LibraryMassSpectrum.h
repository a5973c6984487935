#pragma once
// Mass spectra: lines (mass, intensity in percent of the largest line, weighted intensity for matching),
// the spectrum record, and the wrapper used for the spectral include/exclude list and as side A of an MS match.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <utility>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/core/Serializable.h"

namespace corvelin {

class CORVELIN_ENGINE_EXPORT CLibraryMassSpectrumPoint {
public:
    double Mass = 0;              // m/z, at least 1 when set through SetMass
    double PointExtra = 0;        // supplied with the spectrum; stored and copied, never read
    double Intensity = 0;         // percent of the spectrum's largest line
    double WeightedIntensity = 0; // intensity used for matching (ApplyWeighting), 0 ... 100

    CLibraryMassSpectrumPoint() = default;
    CLibraryMassSpectrumPoint(double mass, double intensity, double weighted = 0, double extra = 0)
        : Mass(mass), PointExtra(extra), Intensity(intensity), WeightedIntensity(weighted)
    {
    }
    // Throws CInvalidArgumentException when mass < 1.
    void SetMass(double mass);
    bool operator==(const CLibraryMassSpectrumPoint&) const = default;
};

// A spectrum: lines in ascending mass order (the MS match relies on it and does not sort).
class CORVELIN_ENGINE_EXPORT CLibraryMassSpectrumData : public CSerializable {
public:
    // Bytes of one stored line: mass, intensity, extra and weighted intensity as little-endian doubles.
    static constexpr std::size_t LineBytes = 32;

    const char* GetClassName() const override { return "CLibraryMassSpectrumData"; }
    void Serialize(CArchive& ar) override;
    // Reads a stored spectrum record up to its lines and returns their bytes (LineBytes per line, bounds-checked,
    // pointing into the archive's input), for readers that take the lines as they are. Throws like Serialize.
    static std::span<const std::uint8_t> ReadLineBytes(CArchive& ar);
    // ReadLineBytes with one bounds check for the header of a record of the current form (the one the program
    // writes); any other record is read by ReadLineBytes itself.
    static std::span<const std::uint8_t> ReadLineBytesAtOnce(CArchive& ar);
    // The stored line at bytes (LineBytes of them).
    static CLibraryMassSpectrumPoint DecodeLine(const std::uint8_t* bytes) noexcept
    {
        CLibraryMassSpectrumPoint p;
        std::memcpy(&p.Mass, bytes, 8);
        std::memcpy(&p.Intensity, bytes + 8, 8);
        std::memcpy(&p.PointExtra, bytes + 16, 8);
        std::memcpy(&p.WeightedIntensity, bytes + 24, 8);
        return p;
    }
    // Appends the lines of ReadLineBytes.
    void AppendLines(std::span<const std::uint8_t> lineBytes);

    std::size_t GetCount() const noexcept { return m_points.size(); }
    // The line at i, or nullptr when i is out of range.
    const CLibraryMassSpectrumPoint* GetPoint(std::size_t i) const noexcept
    {
        return i < m_points.size() ? &m_points[i] : nullptr;
    }
    CLibraryMassSpectrumPoint* GetPoint(std::size_t i) noexcept { return i < m_points.size() ? &m_points[i] : nullptr; }
    const std::vector<CLibraryMassSpectrumPoint>& Points() const noexcept { return m_points; }
    std::vector<CLibraryMassSpectrumPoint>& Points() noexcept { return m_points; }
    // Appends a line and returns its index.
    std::size_t Append(const CLibraryMassSpectrumPoint& point);
    void Clear() noexcept { m_points.clear(); }
    void CopyFrom(const CLibraryMassSpectrumData& other) { m_points = other.m_points; }

    // WeightedIntensity = Mass^1.5 * Intensity^0.6, scaled so that the largest is 100. With a largest raw
    // weight of 0 every weight stays 0.
    void ApplyWeighting();
    // Sum of WeightedIntensity^2 over the lines with Intensity >= threshold: the lines that can pair in MSMatch,
    // so that the match stays within 0 ... 1.
    double SumOfSquares(double threshold) const noexcept;
    // Largest mass of all lines; 0 for an empty spectrum.
    double LargestMass() const noexcept;
    // (largest, fifth-largest) intensity among the lines with Intensity >= 0.1; unfilled positions are 0.
    std::pair<double, double> TopIntensities() const;

    bool operator==(const CLibraryMassSpectrumData& other) const { return m_points == other.m_points; }

private:
    std::vector<CLibraryMassSpectrumPoint> m_points;
};

// Square of the cosine between the weighted spectra A and B with intensity threshold t: lines pair when their
// masses differ by less than 0.75 and both intensities are >= t; the sums of squares take the same lines (>= t).
// 1 when both are empty, 0 when a sum of squares is 0.
CORVELIN_ENGINE_EXPORT double MSMatch(const CLibraryMassSpectrumData& a, const CLibraryMassSpectrumData& b,
                                      double threshold) noexcept;
// The same with both sums of squares already computed for this threshold (the comparison's hot path).
CORVELIN_ENGINE_EXPORT double MSMatch(const CLibraryMassSpectrumData& a, double sumOfSquaresA,
                                      const CLibraryMassSpectrumData& b, double sumOfSquaresB,
                                      double threshold) noexcept;

// Wrapper holding one spectrum by value: element of the spectral include/exclude list, side A of an MS match.
// Serialises exactly as its spectrum.
class CORVELIN_ENGINE_EXPORT CLibraryMassSpectrum : public CSerializable {
public:
    CLibraryMassSpectrum() = default;
    explicit CLibraryMassSpectrum(const CLibraryMassSpectrumData& data) { m_data.CopyFrom(data); }
    const char* GetClassName() const override { return "CLibraryMassSpectrum"; }
    void Serialize(CArchive& ar) override { m_data.Serialize(ar); }

    std::size_t GetCount() const noexcept { return m_data.GetCount(); }
    const CLibraryMassSpectrumPoint* GetPoint(std::size_t i) const noexcept { return m_data.GetPoint(i); }
    double SumOfSquares(double threshold) const noexcept { return m_data.SumOfSquares(threshold); }
    double MSMatch(const CLibraryMassSpectrumData& other, double threshold) const noexcept
    {
        return corvelin::MSMatch(m_data, other, threshold);
    }
    const CLibraryMassSpectrumData& Data() const noexcept { return m_data; }
    CLibraryMassSpectrumData& Data() noexcept { return m_data; }

private:
    CLibraryMassSpectrumData m_data;
};

} // namespace corvelin
