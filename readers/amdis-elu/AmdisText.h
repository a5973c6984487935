#pragma once
// Small text tools shared by the ELU and MSL parsers: line splitting for CR LF, LF and lone CR files, strict
// number parsing, and the "(mass,abundance flag)" / "(mass abundance)" pair lists both formats use.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/Exceptions.h"

namespace corvelin {

namespace amdis {

// A malformed AMDIS text; the message names the 1-based line.
class FormatError : public CFormatException {
public:
    FormatError(std::size_t line, const std::string& what);
};

// One line of the input (without its line end) and its 1-based number.
struct TextLine {
    std::string_view text;
    std::size_t number = 0;
};

// Walks the lines of a text one at a time (no line table, so a text of empty lines costs nothing extra); a line
// ends with CR LF, LF or a lone CR. A UTF-8 byte order mark at the start is skipped. Views point into the text.
class LineReader {
public:
    explicit LineReader(std::string_view text);
    bool AtEnd() const noexcept { return m_atEnd; }
    // The current line; only valid while !AtEnd().
    const TextLine& Current() const noexcept { return m_line; }
    void Advance() noexcept;
    // Bytes from the start of the current line to the end of the text (0 at the end).
    std::size_t BytesLeft() const noexcept;

private:
    std::string_view m_text;
    std::size_t m_next = 0; // offset of the line after the current one
    TextLine m_line;
    bool m_atEnd = false;
};

std::string_view Trim(std::string_view s) noexcept;
// True when s begins with prefix, ignoring ASCII case.
bool StartsWithNoCase(std::string_view s, std::string_view prefix) noexcept;

// The whole of s as a finite number (leading and trailing blanks allowed); false when s is anything else.
bool ParseDouble(std::string_view s, double& value) noexcept;
// The whole of s as a decimal integer in the range of int (blanks allowed around it).
bool ParseInt(std::string_view s, int& value) noexcept;

// One spectrum line as written in the file: abundance on the file's own scale, and the uncertainty flag that
// ELU files append to some lines ("N0.3", "B0.1", "L0.9"; empty for an unflagged line).
struct PeakPair {
    double mass = 0;
    double abundance = 0;
    std::string flag;

    bool Flagged() const noexcept { return !flag.empty(); }
};

// Parses every "(m,a)" / "(m a)" / "(m,a F0.3)" group of one line and appends them to pairs. Blanks between
// groups are allowed. Throws FormatError for anything else on the line (a malformed number, a negative value, an
// unclosed group, text outside the groups, a mass above 100000).
void ParsePeakPairs(const TextLine& line, std::vector<PeakPair>& pairs);

// True for a "NAME:" line and for a "NUM PEAKS:" line (blanks before them and any case allowed).
bool IsNameLine(std::string_view line) noexcept;
bool IsCountLine(std::string_view line) noexcept;
// The text after "NAME:", trimmed.
std::string_view NameText(std::string_view nameLine) noexcept;

// Reads a "NUM PEAKS: n" line (the reader's current line) and the n pairs that follow it over one or more lines,
// up to a blank line, a NAME line or the end. Appends them to pairs and leaves the reader after the last pair
// line. Throws FormatError for a count that is not a number from 0 up, malformed pairs, or a number of pairs
// different from the count (pairs on the line right after the count is reached count as too many).
void ReadCountedPairs(LineReader& reader, std::vector<PeakPair>& pairs);

} // namespace amdis

} // namespace corvelin
