#pragma once
// The RI calibration editor the plot pages give their chromatogram plots: the "Edit RI Calibration" sheet with
// the options' RI calibration page only, on a copy of the table.
class QWidget;

namespace corvelin {

class CLibraryRICalibrationData;

// Shows the sheet on table; on OK table holds the edited points. False when cancelled.
bool EditRICalibrationSheet(QWidget* parent, CLibraryRICalibrationData& table);

} // namespace corvelin
