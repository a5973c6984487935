#include "engine/platform/NumberScan.h"

#include <climits>
#include <cstdlib>
#include <locale.h>
#include <string_view>

namespace corvelin {

namespace {

bool IsBlank(char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) noexcept
{
    return c >= '0' && c <= '9';
}

// Length of the leading number (after blanks) that the text-to-number rules accept; 0 when there is none.
// begin receives the position after the blanks.
std::size_t ScanNumber(std::string_view s, bool real, std::size_t& begin) noexcept
{
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    begin = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i]))
        ++i, ++digits;
    if (real) {
        if (i < s.size() && s[i] == '.') {
            ++i;
            while (i < s.size() && IsDigit(s[i]))
                ++i, ++digits;
        }
        if (digits == 0)
            return 0;
        if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
            std::size_t j = i + 1;
            if (j < s.size() && (s[j] == '+' || s[j] == '-'))
                ++j;
            if (j < s.size() && IsDigit(s[j])) {
                while (j < s.size() && IsDigit(s[j]))
                    ++j;
                i = j;
            }
        }
    }
    return digits == 0 ? 0 : i - begin;
}

} // namespace

int LeadingInteger(const std::string& text) noexcept
{
    std::size_t begin = 0;
    const std::size_t n = ScanNumber(text, false, begin);
    if (n == 0)
        return 0;
    std::string_view number(text.data() + begin, n);
    const bool negative = number.front() == '-';
    if (number.front() == '+' || number.front() == '-')
        number.remove_prefix(1);
    long long value = 0;
    for (char c : number) {
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            break;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

double LeadingReal(const std::string& text) noexcept
{
    std::size_t begin = 0;
    const std::size_t n = ScanNumber(text, true, begin);
    if (n == 0)
        return 0.0;
    // Only the validated prefix is converted (no "inf", "nan" or hexadecimal forms), in the C locale.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const std::string number = text.substr(begin, n);
    return strtod_l(number.c_str(), nullptr, cLocale);
}

int HexDigitValue(char c) noexcept
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace corvelin
