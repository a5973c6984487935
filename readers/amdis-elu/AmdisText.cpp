#include "AmdisText.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace amdis {

FormatError::FormatError(std::size_t line, const std::string& what)
    : std::runtime_error("line " + std::to_string(line) + ": " + what), m_line(line)
{
}

std::vector<TextLine> SplitLines(std::string_view text)
{
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<TextLine> lines;
    std::size_t start = 0;
    std::size_t number = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\n' && c != '\r')
            continue;
        lines.push_back({text.substr(start, i - start), number++});
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back({text.substr(start), number});
    return lines;
}

static bool IsBlank(char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\f' || c == '\v';
}

std::string_view Trim(std::string_view s) noexcept
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) noexcept
{
    if (s.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(s[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

bool ParseDouble(std::string_view s, double& value) noexcept
{
    s = Trim(s);
    if (s.empty())
        return false;
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

bool ParseInt(std::string_view s, int& value) noexcept
{
    s = Trim(s);
    if (s.empty())
        return false;
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size())
        return false;
    value = v;
    return true;
}

// Parses the inside of one group: mass, a comma or blanks, abundance, and an optional flag.
static PeakPair ParseGroup(std::string_view inside, std::size_t lineNumber)
{
    inside = Trim(inside);
    std::size_t i = 0;
    while (i < inside.size() && inside[i] != ',' && !IsBlank(inside[i]))
        ++i;
    const std::string_view massText = inside.substr(0, i);
    while (i < inside.size() && IsBlank(inside[i]))
        ++i;
    if (i < inside.size() && inside[i] == ',')
        ++i;
    while (i < inside.size() && IsBlank(inside[i]))
        ++i;
    const std::size_t abundanceStart = i;
    while (i < inside.size() && !IsBlank(inside[i]))
        ++i;
    const std::string_view abundanceText = inside.substr(abundanceStart, i - abundanceStart);
    const std::string_view flagText = Trim(inside.substr(i));

    PeakPair pair;
    if (!ParseDouble(massText, pair.mass) || pair.mass < 0)
        throw FormatError(lineNumber, "bad mass '" + std::string(massText) + "'");
    if (!ParseDouble(abundanceText, pair.abundance) || pair.abundance < 0)
        throw FormatError(lineNumber, "bad abundance '" + std::string(abundanceText) + "'");
    if (!flagText.empty()) {
        if (!std::isalpha(static_cast<unsigned char>(flagText.front())))
            throw FormatError(lineNumber, "bad flag '" + std::string(flagText) + "'");
        pair.flag = std::string(flagText);
    }
    return pair;
}

void ParsePeakPairs(const TextLine& line, std::vector<PeakPair>& pairs)
{
    const std::string_view s = line.text;
    std::size_t i = 0;
    for (;;) {
        while (i < s.size() && IsBlank(s[i]))
            ++i;
        if (i == s.size())
            return;
        if (s[i] != '(')
            throw FormatError(line.number, "expected '(' in the peak list");
        const std::size_t close = s.find(')', i + 1);
        if (close == std::string_view::npos)
            throw FormatError(line.number, "unclosed '(' in the peak list");
        const std::string_view inside = s.substr(i + 1, close - i - 1);
        if (inside.find('(') != std::string_view::npos)
            throw FormatError(line.number, "nested '(' in the peak list");
        pairs.push_back(ParseGroup(inside, line.number));
        i = close + 1;
    }
}

} // namespace amdis
