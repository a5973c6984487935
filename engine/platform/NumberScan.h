#pragma once
// Reading the number a text begins with, by the usual text-to-number rules: leading blanks, an optional sign,
// digits, and for reals a decimal point and an exponent; reading stops at the first character that does not
// fit; a text without digits reads 0. Used by the command line and by the typed sort of report tables.
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

// Values beyond the int range are clamped to INT_MIN / INT_MAX.
CORVELIN_ENGINE_EXPORT int LeadingInteger(const std::string& text) noexcept;
// Always in the C locale ("0,5" reads 0); no "inf", "nan" or hexadecimal forms.
CORVELIN_ENGINE_EXPORT double LeadingReal(const std::string& text) noexcept;
// The value of a hexadecimal digit (either case), or -1 for any other character.
CORVELIN_ENGINE_EXPORT int HexDigitValue(char c) noexcept;

} // namespace corvelin
