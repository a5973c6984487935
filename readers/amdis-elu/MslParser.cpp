#include "MslParser.h"

#include <algorithm>

namespace amdis {

namespace {

constexpr std::string_view kNameTag = "NAME:";
constexpr std::string_view kCountTag = "NUM PEAKS:";

bool IsNameLine(std::string_view s) noexcept
{
    return StartsWithNoCase(Trim(s), kNameTag);
}

bool IsCountLine(std::string_view s) noexcept
{
    return StartsWithNoCase(Trim(s), kCountTag);
}

// Reads one entry from lines[i] (its NAME line) and leaves i on the first line after it. Throws FormatError
// when the entry is malformed; i is then on a line from which the search for the next entry may go on.
MslEntry ReadEntry(const std::vector<TextLine>& lines, std::size_t& i, std::size_t textBytesLeft)
{
    const std::size_t n = lines.size();
    MslEntry e;
    e.line = lines[i].number;
    e.name = std::string(Trim(Trim(lines[i].text).substr(kNameTag.size())));
    ++i;
    while (i < n && !IsCountLine(lines[i].text) && !IsNameLine(lines[i].text))
        ++i;
    if (i == n || !IsCountLine(lines[i].text))
        throw FormatError(e.line, "entry without NUM PEAKS");
    const std::string_view countText = Trim(lines[i].text).substr(kCountTag.size());
    const std::size_t countLine = lines[i].number;
    ++i;
    int count = 0;
    if (!ParseInt(countText, count) || count < 0)
        throw FormatError(countLine, "bad NUM PEAKS value '" + std::string(Trim(countText)) + "'");
    // A pair is at least "(m a)", five bytes.
    e.pairs.reserve(std::min<std::size_t>(static_cast<std::size_t>(count), textBytesLeft / 5));
    while (i < n && e.pairs.size() < static_cast<std::size_t>(count)) {
        const std::string_view t = Trim(lines[i].text);
        if (t.empty() || IsNameLine(t))
            break;
        ++i;
        ParsePeakPairs(lines[i - 1], e.pairs);
    }
    if (e.pairs.size() == static_cast<std::size_t>(count) && i < n && Trim(lines[i].text).starts_with('(')) {
        ++i;
        ParsePeakPairs(lines[i - 1], e.pairs);
    }
    if (e.pairs.size() != static_cast<std::size_t>(count))
        throw FormatError(countLine, "NUM PEAKS announces " + std::to_string(count) + " pairs, " +
                                         std::to_string(e.pairs.size()) + " found");
    return e;
}

} // namespace

MslFile ParseMsl(std::string_view text)
{
    const std::vector<TextLine> lines = SplitLines(text);
    MslFile file;
    std::size_t i = 0;
    while (i < lines.size()) {
        if (!IsNameLine(lines[i].text)) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        const std::size_t bytesLeft = text.size() - static_cast<std::size_t>(lines[i].text.data() - text.data());
        try {
            file.entries.push_back(ReadEntry(lines, i, bytesLeft));
        } catch (const FormatError& error) {
            file.skipped.push_back(error.what());
            if (i == start)
                ++i;
        }
    }
    return file;
}

bool LooksLikeMsl(std::string_view head)
{
    const std::vector<TextLine> lines = SplitLines(head);
    std::size_t i = 0;
    while (i < lines.size() && Trim(lines[i].text).empty())
        ++i;
    if (i == lines.size() || !IsNameLine(lines[i].text))
        return false;
    if (Trim(Trim(lines[i].text).substr(kNameTag.size())).starts_with('|'))
        return false; // an ELU component
    while (i < lines.size() && !IsCountLine(lines[i].text))
        ++i;
    for (++i; i < lines.size(); ++i) {
        const std::string_view t = Trim(lines[i].text);
        if (!t.empty())
            return t.starts_with('(');
    }
    return false;
}

} // namespace amdis
