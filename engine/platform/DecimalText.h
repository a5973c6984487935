#pragma once
// Numbers as decimal text, independent of the process locale: stored settings and parameter files always use a
// point, while a desktop program may switch the C locale to the user's.
#include <string_view>

#include "engine/core/EngineExport.h"

namespace corvelin {

// The standard decimal text-to-double conversion: leading white space is skipped, reading stops at the first
// character that cannot continue the number, text without a number reads as 0. Only decimal notation is read
// ("0x10" reads as 0, "inf" as 0); a value too large for a double reads as +/-HUGE_VAL.
CORVELIN_ENGINE_EXPORT double TextToDouble(std::string_view text) noexcept;

} // namespace corvelin
