#include "readers/amdis-elu/AmdisText.h"

#include <cctype>
#include <charconv>
#include <algorithm>
#include <cmath>

namespace corvelin {

namespace amdis {

FormatError::FormatError(std::size_t line, const std::string& what)
    : CFormatException("line " + std::to_string(line) + ": " + what, EINVAL, line)
{
}

LineReader::LineReader(std::string_view text) : m_text(text)
{
    if (m_text.size() >= 3 && m_text.substr(0, 3) == "\xEF\xBB\xBF")
        m_text.remove_prefix(3);
    m_line.number = 0;
    Advance();
}

void LineReader::Advance() noexcept
{
    if (m_next >= m_text.size()) {
        m_atEnd = true;
        m_line = {{}, m_line.number + 1};
        return;
    }
    const std::size_t start = m_next;
    std::size_t end = start;
    while (end < m_text.size() && m_text[end] != '\n' && m_text[end] != '\r')
        ++end;
    m_line = {m_text.substr(start, end - start), m_line.number + 1};
    m_next = end;
    if (m_next < m_text.size()) {
        if (m_text[m_next] == '\r' && m_next + 1 < m_text.size() && m_text[m_next + 1] == '\n')
            ++m_next;
        ++m_next;
    }
}

std::size_t LineReader::BytesLeft() const noexcept
{
    return m_atEnd ? 0 : m_text.size() - static_cast<std::size_t>(m_line.text.data() - m_text.data());
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

// No GC-MS spectrum has lines above this m/z; larger masses are taken as damage (they would also overflow the
// intensity weighting).
constexpr double kLargestMass = 100000;

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
    if (!ParseDouble(massText, pair.mass) || pair.mass < 0 || pair.mass > kLargestMass)
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

namespace {
constexpr std::string_view kNameTag = "NAME:";
constexpr std::string_view kCountTag = "NUM PEAKS:";
} // namespace

bool IsNameLine(std::string_view line) noexcept
{
    return StartsWithNoCase(Trim(line), kNameTag);
}

bool IsCountLine(std::string_view line) noexcept
{
    return StartsWithNoCase(Trim(line), kCountTag);
}

std::string_view NameText(std::string_view nameLine) noexcept
{
    return Trim(Trim(nameLine).substr(kNameTag.size()));
}

void ReadCountedPairs(LineReader& reader, std::vector<PeakPair>& pairs)
{
    const TextLine countLine = reader.Current();
    const std::string_view countText = Trim(Trim(countLine.text).substr(kCountTag.size()));
    int count = 0;
    if (!ParseInt(countText, count) || count < 0)
        throw FormatError(countLine.number, "bad NUM PEAKS value '" + std::string(countText) + "'");
    reader.Advance();
    const auto wanted = static_cast<std::size_t>(count);
    const std::size_t first = pairs.size();
    // A pair is at least "(m a)", five bytes: never reserve more than the rest of the text can hold.
    pairs.reserve(first + std::min(wanted, reader.BytesLeft() / 5));
    while (!reader.AtEnd() && pairs.size() - first < wanted) {
        const std::string_view t = Trim(reader.Current().text);
        if (t.empty() || IsNameLine(t))
            break;
        ParsePeakPairs(reader.Current(), pairs);
        reader.Advance();
    }
    if (pairs.size() - first == wanted && !reader.AtEnd() && Trim(reader.Current().text).starts_with('(')) {
        ParsePeakPairs(reader.Current(), pairs);
        reader.Advance();
    }
    if (pairs.size() - first != wanted)
        throw FormatError(countLine.number, "NUM PEAKS announces " + std::to_string(count) + " pairs, " +
                                                std::to_string(pairs.size() - first) + " found");
}

} // namespace amdis

} // namespace corvelin
