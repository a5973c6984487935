#include "readers/amdis-elu/MslParser.h"

#include <algorithm>

namespace corvelin {

namespace amdis {

MslFile ParseMsl(std::string_view text)
{
    LineReader reader(text);
    MslFile file;
    while (!reader.AtEnd()) {
        if (!IsNameLine(reader.Current().text)) {
            reader.Advance();
            continue;
        }
        MslEntry e;
        e.line = reader.Current().number;
        e.name = std::string(NameText(reader.Current().text));
        reader.Advance();
        while (!reader.AtEnd() && !IsCountLine(reader.Current().text) && !IsNameLine(reader.Current().text))
            reader.Advance();
        try {
            if (reader.AtEnd() || !IsCountLine(reader.Current().text))
                throw FormatError(e.line, "entry without NUM PEAKS");
            ReadCountedPairs(reader, e.pairs);
            file.entries.push_back(std::move(e));
        } catch (const FormatError& error) {
            // The rest of a broken entry is skipped as lines outside entries.
            file.skipped.push_back(error.what());
            if (!reader.AtEnd() && IsCountLine(reader.Current().text))
                reader.Advance();
        }
    }
    return file;
}

bool LooksLikeMsl(std::string_view head)
{
    LineReader reader(head);
    while (!reader.AtEnd() && Trim(reader.Current().text).empty())
        reader.Advance();
    if (reader.AtEnd() || !IsNameLine(reader.Current().text) || NameText(reader.Current().text).starts_with('|'))
        return false; // not an entry, or an ELU component
    while (!reader.AtEnd() && !IsCountLine(reader.Current().text))
        reader.Advance();
    for (reader.Advance(); !reader.AtEnd(); reader.Advance()) {
        const std::string_view t = Trim(reader.Current().text);
        if (!t.empty())
            return t.starts_with('(');
    }
    return false;
}

} // namespace amdis

} // namespace corvelin
