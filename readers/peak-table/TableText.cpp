#include "readers/peak-table/TableText.h"

#include <charconv>
#include <cmath>

namespace corvelin {

namespace peaktable {

TableLines::TableLines(std::string_view text) : m_text(text)
{
    if (m_text.substr(0, 3) == "\xEF\xBB\xBF")
        m_next = 3;
    Advance();
}

void TableLines::Advance() noexcept
{
    if (m_next >= m_text.size()) {
        m_atEnd = true;
        m_line = {};
        return;
    }
    const std::size_t start = m_next;
    std::size_t end = m_text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
        m_line = m_text.substr(start);
        m_next = m_text.size();
    } else {
        m_line = m_text.substr(start, end - start);
        m_next = end + (m_text[end] == '\r' && end + 1 < m_text.size() && m_text[end + 1] == '\n' ? 2 : 1);
    }
    ++m_number;
}

char DetectSeparator(std::string_view headerLine) noexcept
{
    bool quoted = false, semicolon = false, comma = false;
    for (const char c : headerLine) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == '\t')
            return '\t';
        else if (!quoted && c == ';')
            semicolon = true;
        else if (!quoted && c == ',')
            comma = true;
    }
    if (semicolon)
        return ';';
    return comma ? ',' : '\t';
}

std::string_view TrimBlanks(std::string_view s) noexcept
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

void SplitCells(std::string_view line, char separator, std::size_t maxCells, std::vector<std::string>& cells)
{
    cells.clear();
    std::size_t i = 0;
    while (true) {
        if (cells.size() == maxCells)
            throw TableError("more than " + std::to_string(maxCells) + " cells in a row");
        std::string cell;
        while (i < line.size() && line[i] == ' ' && separator != ' ')
            ++i;
        if (i < line.size() && line[i] == '"') {
            ++i;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        cell += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell += line[i++];
            }
            // Text after the closing quote up to the separator belongs to the cell.
            const std::size_t end = line.find(separator, i);
            cell += TrimBlanks(line.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i));
            i = end;
        } else {
            const std::size_t end = line.find(separator, i);
            cell = TrimBlanks(line.substr(i, end == std::string_view::npos ? std::string_view::npos : end - i));
            i = end;
        }
        cells.push_back(std::move(cell));
        if (i == std::string_view::npos)
            return;
        ++i; // past the separator
    }
}

bool ParseNumber(std::string_view s, bool decimalComma, double& value) noexcept
{
    s = TrimBlanks(s);
    if (s.empty() || s.size() > 64)
        return false;
    char buffer[65];
    std::size_t n = 0;
    bool point = s.find('.') != std::string_view::npos;
    for (const char c : s) {
        if (c == ',' && decimalComma && !point) {
            buffer[n++] = '.';
            point = true;
        } else {
            buffer[n++] = c;
        }
    }
    const char* first = buffer;
    if (*first == '+')
        ++first;
    double v = 0;
    const auto result = std::from_chars(first, buffer + n, v);
    if (result.ec != std::errc() || result.ptr != buffer + n || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

bool ParseLeadingNumber(std::string_view s, bool decimalComma, double& value) noexcept
{
    s = TrimBlanks(s);
    const std::size_t end = s.find_first_of(decimalComma ? " ;\t" : " ,;\t");
    return ParseNumber(s.substr(0, end), decimalComma, value);
}

} // namespace peaktable

} // namespace corvelin
