#pragma once
// Text handling for delimited peak tables: lines (CR LF, LF or a lone CR, a UTF-8 byte order mark skipped), the
// separator, cells with double quotes, and numbers with a decimal point or, in semicolon tables, a decimal comma.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/Exceptions.h"

namespace corvelin {

namespace peaktable {

// A table the reader refuses; the message says why and, for a damaged row, names its 1-based line.
class TableError : public CFormatException {
public:
    explicit TableError(const std::string& what) : CFormatException(what) {}
};

// Walks the lines of a text one at a time; views point into the text.
class TableLines {
public:
    explicit TableLines(std::string_view text);
    bool AtEnd() const noexcept { return m_atEnd; }
    std::string_view Line() const noexcept { return m_line; }
    std::size_t Number() const noexcept { return m_number; } // 1-based
    void Advance() noexcept;

private:
    std::string_view m_text;
    std::size_t m_next = 0;
    std::string_view m_line;
    std::size_t m_number = 0;
    bool m_atEnd = false;
};

// The separator of a header line: a tab when it has one, else a semicolon when it has one, else a comma
// (separators inside double quotes do not count).
char DetectSeparator(std::string_view headerLine) noexcept;

// Splits a line into cells at separator. A cell that begins with a double quote runs to the closing quote ("" is
// a quote inside it) and ends on its line. Cells are trimmed of blanks outside the quotes. At most maxCells cells
// are made: a line with more throws TableError.
void SplitCells(std::string_view line, char separator, std::size_t maxCells, std::vector<std::string>& cells);

std::string_view TrimBlanks(std::string_view s) noexcept;

// The whole of s (blanks around it allowed) as a finite number. With decimalComma a single comma is taken as the
// decimal point when s has no point.
bool ParseNumber(std::string_view s, bool decimalComma, double& value) noexcept;

// The number at the start of s, up to the first blank, comma or semicolon (for cells such as "291.391, 22430").
bool ParseLeadingNumber(std::string_view s, bool decimalComma, double& value) noexcept;

} // namespace peaktable

} // namespace corvelin
