#pragma once
// The apex spectrum of a peak table row as text, in the forms "m:i m:i", "m:i,m:i", "m:i;m:i", "m i;m i" and
// "m i m i" (pairs of numbers), turned into the program's spectrum record.
#include <cstddef>
#include <string_view>
#include <vector>

#include "engine/core/LibraryMassSpectrum.h"

namespace corvelin {

namespace peaktable {

// A spectrum has at most this many lines; a longer one makes the table damaged (real apex spectra have a few
// hundred).
inline constexpr std::size_t kMaxSpectrumLines = 65536;

struct SpectrumLine {
    double mass = 0;
    double intensity = 0;
};

// Parses the text of a spectrum cell. decimalComma: the table writes numbers with a decimal comma; a comma then
// separates pairs only in the form "m:i,m:i" (no blank or semicolon in the text). Returns false for anything that is
// not a list of pairs: a malformed or negative number, a mass without intensity, or more than kMaxSpectrumLines pairs.
bool ParseSpectrumText(std::string_view text, bool decimalComma, std::vector<SpectrumLine>& lines);

// The spectrum record of lines: masses below 1 and intensities of 0 left out, one line per mass (the larger
// intensity), masses ascending, intensities in percent of the largest, weighted intensities by ApplyWeighting.
void BuildSpectrum(const std::vector<SpectrumLine>& lines, CLibraryMassSpectrumData& spectrum);

} // namespace peaktable

} // namespace corvelin
