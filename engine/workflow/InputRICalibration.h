#pragma once
// The rule every reader of an input chromatogram applies after a successful read: a chromatogram that did not
// come from this program's own entries (its data-system name does not begin with the 13 characters
// "Corvelinscope", compared exactly) and carries no RI calibration points has no usable RI values, so the
// caller recalibrates it with the RI table of the options.
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CLibraryChromatogram;

// Whether the data-system name is this program's own (its first 13 characters are "Corvelinscope").
CORVELIN_ENGINE_EXPORT bool IsOwnDataSystem(const std::string& dataSystemName);

// Whether the chromatogram read under dataSystemName needs the options' RI table: a foreign data system and an
// empty RI calibration.
CORVELIN_ENGINE_EXPORT bool NeedsInputRICalibration(const std::string& dataSystemName,
                                                    const CLibraryChromatogram& chromatogram);

} // namespace corvelin
