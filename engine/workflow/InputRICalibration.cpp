#include "engine/workflow/InputRICalibration.h"

#include "engine/core/LibraryChromatogram.h"

namespace corvelin {

bool IsOwnDataSystem(const std::string& dataSystemName)
{
    return dataSystemName.compare(0, 13, "Corvelinscope") == 0;
}

bool NeedsInputRICalibration(const std::string& dataSystemName, const CLibraryChromatogram& chromatogram)
{
    return !IsOwnDataSystem(dataSystemName) && chromatogram.RICalibration.GetCount() == 0;
}

} // namespace corvelin
