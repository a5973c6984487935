#pragma once
// Parser of AMDIS deconvolution results (.ELU): one component per "NAME:" line, each with its header fields, an
// optional "RE" block (the component's model profile, one value per scan of its scan range), "NUM PEAKS: n" and
// n "(mass,abundance flag)" pairs spread over the following lines. Pure text in, plain records out.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "readers/amdis-elu/AmdisText.h"

namespace corvelin {

namespace amdis {

// One deconvolved component. Fields the NAME line lacks stay empty.
struct EluComponent {
    std::size_t line = 0;                 // line of its NAME: text
    std::string name;                     // the NAME: text as written
    std::optional<int> scan;              // SC: apex scan
    std::optional<int> number;            // CN: component number
    std::optional<double> rt;             // RT: apex retention time, minutes
    std::optional<int> firstScan;         // FR: first scan of the component's range
    std::optional<int> lastScan;          // FR: last scan
    std::optional<double> amount;         // AM: model-ion abundance
    std::optional<double> signal;         // IS: integrated signal over the scan range (sum of the RE profile)
    std::optional<double> extended;       // XN: integrated signal with the profile's tails extended past the range
    std::optional<double> relativeAmount; // RA: XN in percent of the run's total ion signal
    std::optional<double> signalToNoise;  // SN
    std::optional<double> purity;         // PC: percent
    std::vector<int> modelIons;           // MO: model ions
    std::vector<double> profile;          // RE block
    std::vector<PeakPair> pairs;          // the spectrum as written (0 ... 999 scale, flags kept)
};

struct EluFile {
    std::vector<EluComponent> components; // in file order
};

// Parses a whole ELU text. Lines before the first NAME: line and lines between a component's peak list and the
// next NAME: line that are not part of a component are ignored. Throws FormatError when a component is
// malformed: a NAME line whose SC, CN, RT, FR, AM, IS, XN, RA, SN or PC value is not a number, a component
// without "NUM PEAKS:", a negative or non-numeric count, pairs that are not well formed, or a number of pairs
// different from the announced count (which also covers a truncated file).
EluFile ParseElu(std::string_view text);

// True when the text begins (after blank lines and a byte order mark) with an ELU component: a "NAME:" line
// whose text starts with "|" and carries "|SC" and "|RT" fields. Enough of the file's head for the first line
// is all it needs.
bool LooksLikeElu(std::string_view head);

} // namespace amdis

} // namespace corvelin
