#include "engine/platform/DecimalText.h"

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace corvelin {

namespace {

bool IsSpace(char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) noexcept
{
    return c >= '0' && c <= '9';
}

} // namespace

double TextToDouble(std::string_view text) noexcept
{
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // The longest prefix of the form digits [. digits] [e [sign] digits] with at least one mantissa digit.
    const std::size_t begin = i;
    std::size_t mantissaDigits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++mantissaDigits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j]))
                ++j;
            i = j;
        }
    }
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data() + begin, text.data() + i, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value untouched here; strtod in the "C" locale gives HUGE_VAL or 0 as atof would.
        static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
        const std::string digits(text.substr(begin, i - begin));
        value = cLocale ? strtod_l(digits.c_str(), nullptr, cLocale) : 0.0;
    } else if (ec != std::errc()) {
        value = 0.0;
    }
    (void)end;
    return negative ? -value : value;
}

} // namespace corvelin
