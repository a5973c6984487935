#include "engine/platform/CFormat.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <locale.h>

namespace corvelin {

namespace {

locale_t CLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

} // namespace

std::string FormatC(const char* format, ...)
{
    const locale_t previous = uselocale(CLocale());
    char buffer[256];
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    std::string out;
    if (n >= 0 && static_cast<std::size_t>(n) < sizeof buffer) {
        out.assign(buffer, static_cast<std::size_t>(n));
    } else if (n >= 0) {
        out.resize(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(out.data(), out.size(), format, copy);
        out.resize(static_cast<std::size_t>(n));
    }
    va_end(copy);
    uselocale(previous);
    return out;
}

} // namespace corvelin
