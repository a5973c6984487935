#pragma once
// printf-style formatting that is independent of the process locale: report files and cell texts are a
// contract ("%.3f" always writes a point), while a desktop program may switch the C locale to the user's.
#include <string>

#include "engine/core/EngineExport.h"

#if defined(__GNUC__)
#define CORVELIN_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define CORVELIN_PRINTF(fmt, args)
#endif

namespace corvelin {

// The text printf would give in the "C" locale.
CORVELIN_ENGINE_EXPORT std::string FormatC(const char* format, ...) CORVELIN_PRINTF(1, 2);

} // namespace corvelin
