#include "readers/msp/MspParser.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

namespace corvelin {

namespace {

struct Pair {
    double mass;
    double intensity;
};

struct Record {
    std::size_t firstLine = 0;
    std::string name;
    std::string compoundName;
    bool hasPeakCount = false;
    std::size_t announced = 0;
    std::size_t pairsRead = 0;
    std::vector<Pair> pairs;
};

std::string_view Trim(std::string_view s)
{
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; };
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// Lower-case key without blanks and underscores: "Num Peaks", "NUM_PEAKS" and "num peaks" all give "numpeaks".
std::string NormalizeKey(std::string_view key)
{
    std::string out;
    for (char c : key) {
        if (c == ' ' || c == '\t' || c == '_')
            continue;
        out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return out;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool ParseNumber(std::string_view token, double& value)
{
    if (!token.empty() && token.front() == '+')
        token.remove_prefix(1);
    if (token.empty())
        return false;
    const auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    return ec == std::errc() && end == token.data() + token.size() && std::isfinite(value);
}

// Splits on any of the separator characters, dropping empty pieces.
std::vector<std::string_view> Split(std::string_view s, std::string_view separators)
{
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (start <= s.size()) {
        const std::size_t end = s.find_first_of(separators, start);
        const std::string_view piece = s.substr(start, end == std::string_view::npos ? s.npos : end - start);
        if (!piece.empty())
            out.push_back(piece);
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return out;
}

void AddPair(Record& record, std::size_t line, std::string_view massText, std::string_view intensityText)
{
    double mass = 0;
    double intensity = 0;
    if (!ParseNumber(massText, mass) || !ParseNumber(intensityText, intensity))
        throw MspParseError(line, "a peak is not a pair of numbers");
    if (mass <= 0 || intensity < 0)
        throw MspParseError(line, "a peak has a mass of 0 or less or a negative intensity");
    ++record.pairsRead;
    if (record.pairsRead > record.announced)
        throw MspParseError(line, "more peaks than the " + std::to_string(record.announced) + " announced");
    // Lines below m/z 1 cannot be stored; they still count towards the announced number.
    if (mass >= 1)
        record.pairs.push_back({mass, intensity});
}

void ParsePeakLine(Record& record, std::size_t line, std::string_view text)
{
    // Quoted annotations ("m i \"C6H5+\"") are dropped.
    std::string unquoted;
    bool inQuote = false;
    for (char c : text) {
        if (c == '"')
            inQuote = !inQuote;
        else if (!inQuote)
            unquoted += c;
    }
    const std::string_view s = unquoted;
    const std::string_view blanks = " \t\r,";

    if (s.find(';') != s.npos) {
        // "m i; m i;": one pair per group, anything after the pair in a group is an annotation.
        for (std::string_view group : Split(s, ";")) {
            const auto tokens = Split(group, " \t\r,:");
            if (tokens.empty())
                continue;
            if (tokens.size() < 2)
                throw MspParseError(line, "a peak group holds no pair");
            AddPair(record, line, tokens[0], tokens[1]);
        }
        return;
    }
    if (s.find(':') != s.npos) {
        // "m:i m:i ...".
        for (std::string_view token : Split(s, blanks)) {
            const std::size_t colon = token.find(':');
            if (colon == token.npos)
                throw MspParseError(line, "a peak is not written as mass:intensity");
            AddPair(record, line, token.substr(0, colon), token.substr(colon + 1));
        }
        return;
    }
    const auto tokens = Split(s, blanks);
    if (tokens.size() < 2)
        throw MspParseError(line, "a peak line holds no pair");
    bool allNumbers = tokens.size() % 2 == 0;
    for (std::size_t i = 0; allNumbers && i < tokens.size(); ++i) {
        double ignored = 0;
        allNumbers = ParseNumber(tokens[i], ignored);
    }
    if (allNumbers) {
        for (std::size_t i = 0; i + 1 < tokens.size(); i += 2)
            AddPair(record, line, tokens[i], tokens[i + 1]);
    } else {
        // "m i annotation": one pair.
        AddPair(record, line, tokens[0], tokens[1]);
    }
}

MspSpectrum Finish(Record& record, std::size_t index)
{
    if (!record.hasPeakCount)
        throw MspParseError(record.firstLine, "the spectrum has no 'Num Peaks' line");
    if (record.pairsRead != record.announced)
        throw MspParseError(record.firstLine, "the spectrum announces " + std::to_string(record.announced) +
                                                  " peaks but has " + std::to_string(record.pairsRead));
    MspSpectrum out;
    out.Name = !record.name.empty()           ? record.name
               : !record.compoundName.empty() ? record.compoundName
                                              : "Unnamed spectrum " + std::to_string(index + 1);
    std::stable_sort(record.pairs.begin(), record.pairs.end(),
                     [](const Pair& a, const Pair& b) { return a.mass < b.mass; });
    double largest = 0;
    for (const Pair& p : record.pairs)
        largest = std::max(largest, p.intensity);
    // Percent of the largest line; the quotient of a huge intensity by itself may round just above 100.
    for (const Pair& p : record.pairs)
        out.Spectrum.Append(
            CLibraryMassSpectrumPoint(p.mass, largest > 0 ? std::min(100.0, p.intensity * 100.0 / largest) : 0.0));
    out.Spectrum.ApplyWeighting();
    return out;
}

std::string_view StripByteOrderMark(std::string_view text)
{
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    return text;
}

// Calls visit(lineNumber, line, offsetAfterLine) for every line; line ends are LF with an optional CR.
template <typename Visit> void ForEachLine(std::string_view text, Visit&& visit)
{
    std::size_t pos = 0;
    std::size_t number = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        const std::size_t next = end == text.npos ? text.size() : end + 1;
        if (end == text.npos)
            end = text.size();
        ++number;
        if (!visit(number, text.substr(pos, end - pos), next))
            return;
        pos = next;
    }
}

} // namespace

std::vector<MspSpectrum> ParseMsp(std::string_view text)
{
    text = StripByteOrderMark(text);
    std::vector<MspSpectrum> spectra;
    Record record;
    bool open = false;
    const auto finish = [&] {
        if (open)
            spectra.push_back(Finish(record, spectra.size()));
        record = Record();
        open = false;
    };
    const auto start = [&](std::size_t line) {
        record = Record();
        record.firstLine = line;
        open = true;
    };

    ForEachLine(text, [&](std::size_t line, std::string_view raw, std::size_t nextOffset) {
        const std::string_view t = Trim(raw);
        if (t.empty()) {
            finish();
            return true;
        }
        if (IsDigit(t.front()) || t.front() == '.') {
            if (!open || !record.hasPeakCount)
                throw MspParseError(line, "peak data before a 'Num Peaks' line");
            ParsePeakLine(record, line, t);
            return true;
        }
        const std::size_t colon = t.find(':');
        if (colon == t.npos || colon == 0) {
            // "Key=value" lines and free text continuing a comment belong to the header of an open spectrum;
            // anywhere else (before the first key, among the peaks) such a line is junk.
            const std::size_t equals = t.find('=');
            const bool keyValue = equals != t.npos && equals > 0;
            if (!open || (record.hasPeakCount && !keyValue))
                throw MspParseError(line, "the line is neither a key nor peak data");
            return true;
        }
        const std::string key = NormalizeKey(t.substr(0, colon));
        const std::string_view value = Trim(t.substr(colon + 1));
        const bool complete =
            open && record.hasPeakCount && record.announced > 0 && record.pairsRead == record.announced;
        if (key == "name") {
            // A new spectrum may follow the previous one without a blank line.
            if (open && (complete || !record.name.empty() || record.hasPeakCount))
                finish();
            if (!open)
                start(line);
            record.name = std::string(value);
            return true;
        }
        if (complete)
            finish();
        if (!open)
            start(line);
        if (key == "numpeaks") {
            if (record.hasPeakCount)
                throw MspParseError(line, "a second 'Num Peaks' line");
            unsigned long long count = 0;
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), count);
            if (ec != std::errc() || end != value.data() + value.size())
                throw MspParseError(line, "'Num Peaks' is not a count");
            // A pair takes at least three bytes ("1 1" and a separator), so a larger count cannot be true.
            const std::size_t left = text.size() - nextOffset;
            if (count > left / 3 + 1)
                throw MspParseError(line, "'Num Peaks' announces " + std::to_string(count) +
                                              " peaks, more than the rest of the file can hold");
            record.announced = static_cast<std::size_t>(count);
            record.hasPeakCount = true;
        } else if (key == "compoundname") {
            record.compoundName = std::string(value);
        }
        return true;
    });
    finish();
    return spectra;
}

bool LooksLikeMsp(std::string_view head)
{
    head = StripByteOrderMark(head);
    bool hasName = false;
    bool hasPeakCount = false;
    ForEachLine(head, [&](std::size_t, std::string_view raw, std::size_t) {
        const std::string_view t = Trim(raw);
        const std::size_t colon = t.find(':');
        if (colon != t.npos && colon > 0) {
            const std::string key = NormalizeKey(t.substr(0, colon));
            hasName = hasName || key == "name" || key == "compoundname";
            hasPeakCount = hasPeakCount || key == "numpeaks";
        }
        return !(hasName && hasPeakCount);
    });
    return hasName && hasPeakCount;
}

} // namespace corvelin
