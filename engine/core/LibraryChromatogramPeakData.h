#pragma once
// One peak: retention data, size and the apex mass spectrum. Area % and Height % are relative to the
// chromatogram's TotalArea / TotalHeight; widths are shown in seconds.
#include "engine/core/EngineExport.h"
#include "engine/core/LibraryMassSpectrum.h"

namespace corvelin {

class CORVELIN_ENGINE_EXPORT CLibraryChromatogramPeakData : public CSerializable {
public:
    CLibraryMassSpectrumData Spectrum;
    double Area = 0;
    double Height = 0;
    double RT = 0;      // apex, minutes
    double StartRT = 0; // minutes
    double EndRT = 0;   // minutes
    double RI = 0;      // -1 without calibration, 0 when read from an entry older than the RI format
    int PeakNumber = 0; // 1-based position, assigned on reading; not stored

    const char* GetClassName() const override { return "CLibraryChromatogramPeakData"; }
    void Serialize(CArchive& ar) override;
    // Reads a stored peak record up to its spectrum (RI becomes 0 for records older than the RI format); the
    // spectrum record follows in the archive. Throws like Serialize.
    void ReadFields(CArchive& ar);
    // ReadFields with one bounds check for a record of the current form (the one the program writes); any other
    // record is read by ReadFields itself.
    void ReadFieldsAtOnce(CArchive& ar);

    // Width in seconds.
    double WidthSeconds() const noexcept { return (EndRT - StartRT) * 60.0; }
};

} // namespace corvelin
