#pragma once
// Parser of AMDIS mass-spectral libraries (.MSL): entries that begin with "NAME:", carry "KEY:value" lines and a
// "NUM PEAKS: n" line followed by n "(mass abundance)" pairs over one or more lines. Names and field keys are
// matched without regard to case ("Name:", "Num Peaks:" occur too).
#include <string>
#include <string_view>
#include <vector>

#include "readers/amdis-elu/AmdisText.h"

namespace corvelin {

namespace amdis {

struct MslEntry {
    std::size_t line = 0; // line of its NAME: text
    std::string name;
    std::vector<PeakPair> pairs; // as written, in file order
};

// What a read gives: the well-formed entries in file order and one message per entry that was left out.
struct MslFile {
    std::vector<MslEntry> entries;
    std::vector<std::string> skipped;
};

// Parses a whole MSL text. An entry without "NUM PEAKS:", with a malformed count or pair, or with a number of
// pairs different from its count is left out (and named in skipped); the entries before and after it are kept,
// so a truncated file gives every complete entry before the cut. Never throws for malformed text.
MslFile ParseMsl(std::string_view text);

// True when the head of a file (enough to hold its first entry) has the MSL shape: the first non-blank line
// begins with "NAME:" but is not an ELU component line, and the first "NUM PEAKS:" line is followed by a line
// of "(...)" pairs. NIST MSP files, whose pairs are not in parentheses, are not taken.
bool LooksLikeMsl(std::string_view head);

} // namespace amdis

} // namespace corvelin
