#include "engine/table/CellCompare.h"

#include <atomic>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <locale.h>
#include <string_view>

#include "engine/core/Exceptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"

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

int CompareNoCase(const std::string& a, const std::string& b) noexcept
{
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[i]);
        if (ca >= 'A' && ca <= 'Z')
            ca = static_cast<unsigned char>(ca + 32);
        if (cb >= 'A' && cb <= 'Z')
            cb = static_cast<unsigned char>(cb + 32);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::atomic<bool> g_invalidTypeShown{false};

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

bool ParseCellDateTime(const std::string& text, double& days)
{
    static const char* const formats[] = {"%x %X", "%x", "%Y-%m-%d %H:%M:%S", "%Y-%m-%d"};
    for (const char* format : formats) {
        std::tm tm{};
        const char* end = strptime(text.c_str(), format, &tm);
        if (end == nullptr)
            continue;
        while (IsBlank(*end))
            ++end;
        if (*end != '\0')
            continue;
        const time_t seconds = timegm(&tm);
        days = static_cast<double>(seconds) / 86400.0;
        return true;
    }
    return false;
}

int CompareCellTexts(const std::string& a, const std::string& b, int type)
{
    switch (type) {
    case kCompareText: {
        const int r = a.compare(b);
        return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
    case kCompareInteger: {
        const long long d = static_cast<long long>(LeadingInteger(a)) - LeadingInteger(b);
        return d < 0 ? -1 : (d > 0 ? 1 : 0);
    }
    case kCompareReal: {
        const double x = LeadingReal(a);
        const double y = LeadingReal(b);
        if (std::fabs(x - y) < 0.0001)
            return 0;
        return x > y ? 1 : -1;
    }
    case kCompareDateTime: {
        double x = 0;
        double y = 0;
        if (!ParseCellDateTime(a, x) || !ParseCellDateTime(b, y))
            throw CUserException(kDateCompareMessage);
        if (std::fabs(x - y) < 5.787037037037037e-6)
            return 0;
        return x > y ? 1 : -1;
    }
    case kCompareEqual:
        return 0;
    case kCompareTextNoCase:
        return CompareNoCase(a, b);
    default:
        if (!g_invalidTypeShown.exchange(true))
            ShowMessage(FormatC("Invalid compare type=%i", type));
        return 0;
    }
}

} // namespace corvelin
