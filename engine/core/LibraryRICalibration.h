#pragma once
// The retention index calibration table: reference compounds (name, RT, RI, spectrum) in table order and the
// calculation option (0 Kovats / isothermal, logarithmic; any other value linear / temperature-programmed).
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/core/LibraryMassSpectrum.h"

namespace corvelin {

class CORVELIN_ENGINE_EXPORT CLibraryRICalibrationPoint : public CSerializable {
public:
    std::string CompoundName;
    double RT = 0;
    double RI = 0;
    CLibraryMassSpectrumData Spectrum;

    const char* GetClassName() const override { return "CLibraryRICalibrationPoint"; }
    void Serialize(CArchive& ar) override;

    // Sets all four fields; the spectrum is copied.
    void Set(const std::string& name, double rt, double ri, const CLibraryMassSpectrumData& spectrum);
    const std::string& GetName() const noexcept { return CompoundName; }
    double GetRT() const noexcept { return RT; }
    double GetRI() const noexcept { return RI; }
    const CLibraryMassSpectrumData& GetSpectrum() const noexcept { return Spectrum; }
};

class CORVELIN_ENGINE_EXPORT CLibraryRICalibrationData : public CSerializable {
public:
    CLibraryRICalibrationData() = default;
    CLibraryRICalibrationData(const CLibraryRICalibrationData& other) { CopyFrom(other); }
    CLibraryRICalibrationData& operator=(const CLibraryRICalibrationData& other)
    {
        if (this != &other)
            CopyFrom(other);
        return *this;
    }
    CLibraryRICalibrationData(CLibraryRICalibrationData&&) noexcept = default;
    CLibraryRICalibrationData& operator=(CLibraryRICalibrationData&&) noexcept = default;

    const char* GetClassName() const override { return "CLibraryRICalibrationData"; }
    void Serialize(CArchive& ar) override;

    std::size_t GetCount() const noexcept { return m_points.size(); }
    // Throws CInvalidArgumentException when i is out of range.
    const CLibraryRICalibrationPoint& GetPoint(std::size_t i) const;
    CLibraryRICalibrationPoint& GetPoint(std::size_t i);
    // Appends the point and returns its index.
    std::size_t AddPoint(std::unique_ptr<CLibraryRICalibrationPoint> point);
    // Deletes all points; keeps the calculation option.
    void Clear() noexcept { m_points.clear(); }
    int GetCalculationOption() const noexcept { return CalculationOption; }
    void SetCalculationOption(int option) noexcept { CalculationOption = option; }
    // Deep copy of points, spectra and calculation option.
    void CopyFrom(const CLibraryRICalibrationData& other);

    // RI of a retention time by the table's scan rules; -1 with fewer than 2 points.
    double ComputeRI(double rt) const noexcept;

    int CalculationOption = 0;

private:
    std::vector<std::unique_ptr<CLibraryRICalibrationPoint>> m_points;
};

} // namespace corvelin
