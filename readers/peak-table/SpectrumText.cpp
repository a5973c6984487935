#include "readers/peak-table/SpectrumText.h"

#include <algorithm>

#include "readers/peak-table/TableText.h"

namespace corvelin {

namespace peaktable {

namespace {

bool IsPairSeparator(char c, bool decimalComma) noexcept
{
    return c == ' ' || c == '\t' || c == ';' || (c == ',' && !decimalComma);
}

} // namespace

bool ParseSpectrumText(std::string_view text, bool decimalComma, std::vector<SpectrumLine>& lines)
{
    lines.clear();
    text = TrimBlanks(text);
    if (text.empty())
        return true;
    const bool colonPairs = text.find(':') != std::string_view::npos;
    // "m:i,m:i" separates pairs with commas even in a decimal-comma table; with blanks or semicolons between the
    // pairs a comma there is the decimal comma.
    if (colonPairs && text.find_first_of(" \t;") == std::string_view::npos)
        decimalComma = false;
    // Without colons the text is a list of numbers taken two by two; a semicolon then only separates pairs, so
    // "m i;m i" and "m i m i" read alike.
    std::vector<double> numbers;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsPairSeparator(text[i], decimalComma))
            ++i;
        if (i == text.size())
            break;
        std::size_t end = i;
        while (end < text.size() && !IsPairSeparator(text[end], decimalComma))
            ++end;
        const std::string_view token = text.substr(i, end - i);
        i = end;
        if (colonPairs) {
            const std::size_t colon = token.find(':');
            SpectrumLine line;
            if (colon == std::string_view::npos || !ParseNumber(token.substr(0, colon), decimalComma, line.mass) ||
                !ParseNumber(token.substr(colon + 1), decimalComma, line.intensity) || line.mass < 0 ||
                line.intensity < 0)
                return false;
            if (lines.size() == kMaxSpectrumLines)
                return false;
            lines.push_back(line);
        } else {
            double v = 0;
            if (!ParseNumber(token, decimalComma, v) || v < 0)
                return false;
            if (numbers.size() == 2 * kMaxSpectrumLines)
                return false;
            numbers.push_back(v);
        }
    }
    if (!colonPairs) {
        if (numbers.size() % 2 != 0)
            return false;
        lines.reserve(numbers.size() / 2);
        for (std::size_t k = 0; k < numbers.size(); k += 2)
            lines.push_back({numbers[k], numbers[k + 1]});
    }
    return true;
}

void BuildSpectrum(const std::vector<SpectrumLine>& lines, CLibraryMassSpectrumData& spectrum)
{
    std::vector<SpectrumLine> kept;
    kept.reserve(lines.size());
    for (const SpectrumLine& l : lines)
        if (l.mass >= 1 && l.intensity > 0)
            kept.push_back(l);
    std::stable_sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) { return a.mass < b.mass; });
    spectrum.Clear();
    double largest = 0;
    for (const SpectrumLine& l : kept)
        largest = std::max(largest, l.intensity);
    spectrum.Points().reserve(kept.size());
    for (const SpectrumLine& l : kept) {
        const double percent = l.intensity * 100 / largest;
        auto& points = spectrum.Points();
        if (!points.empty() && points.back().Mass == l.mass)
            points.back().Intensity = std::max(points.back().Intensity, percent);
        else
            spectrum.Append(CLibraryMassSpectrumPoint(l.mass, percent));
    }
    spectrum.ApplyWeighting();
}

} // namespace peaktable

} // namespace corvelin
