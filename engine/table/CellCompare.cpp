#include "engine/table/CellCompare.h"

#include <atomic>
#include <cmath>
#include <ctime>

#include "engine/core/Exceptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/platform/NumberScan.h"

namespace corvelin {

namespace {

bool IsBlank(char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
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
