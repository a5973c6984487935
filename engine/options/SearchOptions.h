#pragma once
// The search options record: every parameter that steers a comparison and a library search, the spectral
// include/exclude list, the RI calibration table and the options of the multi-file peak summary.
// Flags are integers used as booleans (0 off, anything else on).
#include <memory>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/core/LibraryMassSpectrum.h"
#include "engine/core/LibraryRICalibration.h"

namespace corvelin {

// One line of a device-independent printout (PrintSummary): the text and whether it is in the heading font.
struct CORVELIN_ENGINE_EXPORT CPrintLine {
    std::string Text;
    bool Heading = false;
    bool operator==(const CPrintLine&) const = default;
};

class CORVELIN_ENGINE_EXPORT CSearchOptions {
public:
    // Fields in declaration order, with their record defaults.
    int AreaMatching = 0;         // "Area% matching"
    int HeightMatching = 0;       // "Height% matching"
    int MSMatching = 1;           // "MS matching"
    int RTMatching = 1;           // "RT matching"
    int RIMatching = 0;           // "RI matching"
    int MultipleMatching = 0;     // "Allow multiple matching"
    int SearchSubfolders = 0;     // "Search subfolders"
    double RTWindowWidth = 0.1;   // minutes
    double RIWindowWidth = 15.0;  // index units
    int Weighting = 0;            // 0 none, 1 Area, 2 Height, 3 log(Area), 4 log(Height)
    std::string TimeRange = "*";  // "RT search range (min)"
    int MassThresholdOn = 0;      // "Mass threshold (%)" enabled
    double MassThreshold = 0.5;   // percent
    int AreaThresholdOn = 0;      // "Area threshold (%)" enabled
    double AreaThreshold = 0.5;   // percent
    int SpectralListMode = 0;     // 0 don't use, 1 ignore listed spectra, 2 use only listed spectra
    int FitThreshold = 0;         // thousandths, 0 ... 999
    int AbsoluteAreaHeight = 0;   // match absolute area/height instead of percentages
    std::string SummaryISTDName;  // multi-file summary: internal standard
    int SummaryISTDMatch = 950;   // thousandths
    double SummaryISTDRT = 0.0;   // minutes
    int SummaryMinMatch = 900;    // thousandths
    int SummaryDisplayOption = 0; // 0 Area, 1 Height, 2 RT, 3 Quartiles (Area)
    int SummaryRelative = 0;      // values relative to ISTD

    CSearchOptions() = default;
    CSearchOptions(const CSearchOptions& other);
    CSearchOptions& operator=(const CSearchOptions& other);
    virtual ~CSearchOptions() = default;

    // Spectral include/exclude list (parallel arrays of active flags, names and owned spectra).
    int GetSpectraCount() const noexcept { return static_cast<int>(m_spectra.size()); }
    // The spectrum of entry i (nullptr when out of range, outputs then untouched); name and active flag optional.
    const CLibraryMassSpectrum* GetSpectrum(int i, std::string* name = nullptr, bool* active = nullptr) const;
    int AddSpectrum(const std::string& name, const CLibraryMassSpectrumData& spectrum, bool active);
    void RemoveSpectrum(int i);
    void RenameSpectrum(int i, const std::string& name);
    void SetSpectrumActive(int i, bool active);
    // Deletes all spectra, empties the three arrays, and empties the RI table's points (option kept).
    void ClearSpectra();

    // RI calibration table.
    const CLibraryRICalibrationData& RICalibration() const noexcept { return m_riCalibration; }
    CLibraryRICalibrationData& RICalibration() noexcept { return m_riCalibration; }

    // Last-used values in the per-user settings section "Search Parameter" / subsection.
    void LoadLastUsed(const char* subsection = "Global");
    void SaveLastUsed() const;

    bool IsInTimeRange(double rt) const;
    static bool IsValidTimeRange(const std::string& text);
    // Whether a peak with this spectrum (nullptr = no spectrum) is left out because of the spectral list.
    bool IsPeakExcluded(const CLibraryMassSpectrumData* spectrum) const;
    // The human-readable summary block: first line heading, the rest body.
    std::vector<CPrintLine> PrintSummary() const;

private:
    std::vector<unsigned char> m_active;
    std::vector<std::string> m_names;
    std::vector<std::unique_ptr<CLibraryMassSpectrum>> m_spectra;
    CLibraryRICalibrationData m_riCalibration;
};

} // namespace corvelin
