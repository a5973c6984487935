#pragma once
// Cell texts come from files (an entry's sample name and comment): control characters in them (a NUL, an
// escape sequence, a line break) would cut a printed table short, break a CSV line or reach a terminal. Every
// writer of cell texts shows them as blanks.
#include <string>
#include <string_view>

#include "engine/core/EngineExport.h"

namespace corvelin {

// The text with every control character (bytes 0 to 31 and 127) replaced by a blank; other bytes unchanged.
CORVELIN_ENGINE_EXPORT std::string PrintableText(std::string_view text);

} // namespace corvelin
