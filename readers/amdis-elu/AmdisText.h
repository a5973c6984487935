#pragma once
// Small text tools shared by the ELU and MSL parsers: line splitting for CR LF, LF and lone CR files, strict
// number parsing, and the "(mass,abundance flag)" / "(mass abundance)" pair lists both formats use.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace amdis {

// A malformed AMDIS text; the message names the 1-based line.
class FormatError : public std::runtime_error {
public:
    FormatError(std::size_t line, const std::string& what);
    std::size_t Line() const noexcept { return m_line; }

private:
    std::size_t m_line;
};

// One line of the input (without its line end) and its 1-based number.
struct TextLine {
    std::string_view text;
    std::size_t number = 0;
};

// Splits text into lines; a line ends with CR LF, LF or a lone CR. A UTF-8 byte order mark is skipped. The views
// point into text.
std::vector<TextLine> SplitLines(std::string_view text);

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
// unclosed group, text outside the groups).
void ParsePeakPairs(const TextLine& line, std::vector<PeakPair>& pairs);

} // namespace amdis
