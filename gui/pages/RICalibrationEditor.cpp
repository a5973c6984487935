#include "gui/pages/RICalibrationEditor.h"

#include "engine/options/SearchOptions.h"
#include "gui/options/SearchOptionsUI.h"

namespace corvelin {

bool EditRICalibrationSheet(QWidget* parent, CLibraryRICalibrationData& table)
{
    CSearchOptions options;
    options.RICalibration() = table;
    if (!CSearchOptionsUI::Edit(parent, QStringLiteral("Edit RI Calibration"), options,
                                {CSearchOptionsUI::RICalibration}))
        return false;
    table = options.RICalibration();
    return true;
}

} // namespace corvelin
