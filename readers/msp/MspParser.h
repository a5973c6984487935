#pragma once
// Parser for NIST MSP text libraries: several spectra per file, each a block of "Key: value" lines with "Name:"
// and "Num Peaks:", followed by its m/z-intensity pairs ("m i" per line, "m i; m i;" or "m:i m:i" several per
// line, tab or blank separated, an optional quoted annotation after a pair). Other keys ("Key: value" or
// "Key=value"), comments (also continued on lines of their own before "Num Peaks") and synonyms are ignored. The text
// is untrusted: every size is bounded by the bytes actually present, and any malformed record fails the whole file with
// a line number.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/Exceptions.h"
#include "engine/core/LibraryMassSpectrum.h"

namespace corvelin {

struct MspSpectrum {
    std::string Name;
    // Lines in ascending mass order; intensities in percent of the largest line, weighted intensities filled.
    CLibraryMassSpectrumData Spectrum;
};

class MspParseError : public CFormatException {
public:
    MspParseError(std::size_t line, const std::string& what)
        : CFormatException("line " + std::to_string(line) + ": " + what, EINVAL, line)
    {
    }
};

// Parses a whole MSP text (a UTF-8 byte-order mark, CR LF or LF line ends are accepted).
// @exception MspParseError for a record without "Num Peaks", a peak count that differs from the pairs that
// follow, a text line outside a spectrum's header or among its peaks, or a mass / intensity that is not a finite
// non-negative number (mass > 0).
std::vector<MspSpectrum> ParseMsp(std::string_view text);

// Whether the text looks like an MSP library: within its first lines a "Name:" (or "Compound_Name:") key and a
// "Num Peaks:" key.
bool LooksLikeMsp(std::string_view head);

} // namespace corvelin
