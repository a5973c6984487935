#include "readers/amdis-elu/EluParser.h"

#include <algorithm>
#include <cctype>
#include <type_traits>

namespace corvelin {

namespace amdis {

namespace {

double NumberField(std::string_view key, std::string_view value, std::size_t line)
{
    double v = 0;
    if (!ParseDouble(value, v))
        throw FormatError(line, "bad " + std::string(key) + " value '" + std::string(value) + "'");
    return v;
}

int IntegerField(std::string_view key, std::string_view value, std::size_t line)
{
    int v = 0;
    if (!ParseInt(value, v))
        throw FormatError(line, "bad " + std::string(key) + " value '" + std::string(value) + "'");
    return v;
}

// Whitespace-separated numbers of s appended to out; throws on anything else.
template <typename T>
void AppendNumbers(std::string_view s, std::vector<T>& out, std::string_view what, std::size_t line)
{
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
            ++i;
        const std::size_t start = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t')
            ++i;
        if (start == i)
            break;
        const std::string_view token = s.substr(start, i - start);
        T v = 0;
        bool ok = false;
        if constexpr (std::is_same_v<T, int>)
            ok = ParseInt(token, v);
        else
            ok = ParseDouble(token, v);
        if (!ok)
            throw FormatError(line, "bad " + std::string(what) + " value '" + std::string(token) + "'");
        out.push_back(v);
    }
}

// The "|KEYvalue|KEYvalue" fields of a NAME line.
void ParseNameFields(std::string_view name, EluComponent& c)
{
    std::size_t pos = 0;
    while (pos <= name.size()) {
        std::size_t bar = name.find('|', pos);
        if (bar == std::string_view::npos)
            bar = name.size();
        const std::string_view field = Trim(name.substr(pos, bar - pos));
        pos = bar + 1;
        if (field.size() < 2 || !std::isupper(static_cast<unsigned char>(field[0])) ||
            !std::isupper(static_cast<unsigned char>(field[1])))
            continue;
        const std::string_view key = field.substr(0, 2);
        const std::string_view value = field.substr(2);
        if (key == "SC") {
            c.scan = IntegerField(key, value, c.line);
        } else if (key == "CN") {
            c.number = IntegerField(key, value, c.line);
        } else if (key == "RT") {
            c.rt = NumberField(key, value, c.line);
        } else if (key == "FR") {
            const std::size_t dash = value.find('-', 1);
            if (dash == std::string_view::npos)
                throw FormatError(c.line, "bad FR value '" + std::string(value) + "'");
            c.firstScan = IntegerField(key, value.substr(0, dash), c.line);
            c.lastScan = IntegerField(key, value.substr(dash + 1), c.line);
        } else if (key == "AM") {
            c.amount = NumberField(key, value, c.line);
        } else if (key == "IS") {
            c.signal = NumberField(key, value, c.line);
        } else if (key == "XN") {
            c.extended = NumberField(key, value, c.line);
        } else if (key == "RA") {
            c.relativeAmount = NumberField(key, value, c.line);
        } else if (key == "SN") {
            c.signalToNoise = NumberField(key, value, c.line);
        } else if (key == "PC") {
            c.purity = NumberField(key, value, c.line);
        } else if (key == "MO") {
            // "MOn: ion ion ...": the count, then the ions.
            const std::size_t colon = value.find(':');
            c.modelIons.clear();
            if (colon != std::string_view::npos)
                AppendNumbers(value.substr(colon + 1), c.modelIons, "MO", c.line);
        }
    }
}

} // namespace

EluFile ParseElu(std::string_view text)
{
    LineReader reader(text);
    EluFile file;
    while (!reader.AtEnd()) {
        if (!IsNameLine(reader.Current().text)) {
            reader.Advance(); // not part of a component
            continue;
        }
        EluComponent c;
        c.line = reader.Current().number;
        c.name = std::string(NameText(reader.Current().text));
        ParseNameFields(c.name, c);
        reader.Advance();

        // Header lines up to the count: the RE profile and anything this reader does not use.
        bool inProfile = false;
        while (!reader.AtEnd() && !IsCountLine(reader.Current().text) && !IsNameLine(reader.Current().text)) {
            const std::string_view t = Trim(reader.Current().text);
            if (t == "RE")
                inProfile = true;
            else if (inProfile && !t.empty())
                AppendNumbers(t, c.profile, "RE", reader.Current().number);
            reader.Advance();
        }
        if (reader.AtEnd() || !IsCountLine(reader.Current().text))
            throw FormatError(c.line, "component without NUM PEAKS");
        ReadCountedPairs(reader, c.pairs);
        file.components.push_back(std::move(c));
    }
    return file;
}

bool LooksLikeElu(std::string_view head)
{
    for (LineReader reader(head); !reader.AtEnd(); reader.Advance()) {
        const std::string_view t = Trim(reader.Current().text);
        if (t.empty())
            continue;
        if (!IsNameLine(t))
            return false;
        const std::string_view rest = NameText(t);
        return rest.starts_with('|') && rest.find("|SC") != std::string_view::npos &&
               rest.find("|RT") != std::string_view::npos;
    }
    return false;
}

} // namespace amdis

} // namespace corvelin
