#pragma once
// The program's serialisable classes by name, for reading tagged objects: CLibraryRICalibrationPoint,
// CLibraryMassSpectrum, CLibraryMassSpectrumPoint, CLibraryMassSpectrumData, CLibraryChromatogramPeakData,
// CLibraryChromatogramData and CLibraryRICalibrationData.
#include <memory>
#include <string_view>

#include "engine/core/EngineExport.h"
#include "engine/core/Serializable.h"

namespace corvelin {

// A new, empty object of the named class, or nullptr when the name is not a registered class.
CORVELIN_ENGINE_EXPORT std::unique_ptr<CSerializable> CreateRegisteredObject(std::string_view className);
// Whether the name is one of the registered classes.
CORVELIN_ENGINE_EXPORT bool IsRegisteredClass(std::string_view className) noexcept;

} // namespace corvelin
