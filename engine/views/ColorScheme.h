#pragma once
// Colour schemes: named, ordered lists of colours kept machine-wide in the settings section "ColorSchemes"
// (count "nColorSchemes", names "ColorScheme%d", each scheme's subsection with "nColors", "Color%i" and the two
// marks "NotFoundThis" / "NotFoundOther"). Each user picks one scheme by name (the section's default value,
// "Colors" when absent). The program only reads scheme definitions; it writes nothing but the user's choice.
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

inline constexpr const char* kColorSchemesSection = "ColorSchemes";
inline constexpr const char* kDefaultColorScheme = "Colors";

struct CORVELIN_ENGINE_EXPORT CSchemeColor {
    unsigned char R = 0;
    unsigned char G = 0;
    unsigned char B = 0;
    bool operator==(const CSchemeColor&) const = default;
};

// A nine-digit colour text: characters 1-3 red, 4-6 green, 7-9 blue, each part read as a decimal integer (as
// atoi reads it, so a short or partly non-numeric text gives what its parts give) and taken modulo 256.
CORVELIN_ENGINE_EXPORT CSchemeColor ParseSchemeColor(std::string_view text);
// The nine-digit text of a colour ("%03d%03d%03d").
CORVELIN_ENGINE_EXPORT std::string FormatSchemeColor(CSchemeColor color);

// The index of the colour for match value v in a scheme of n colours: the integer part of v x (n - 1), so that
// 1 takes the last colour; values above 1 take the last colour too. -1 when n < 1.
CORVELIN_ENGINE_EXPORT int SchemeColorIndex(double v, int n) noexcept;
// The same for a value that may be "no match": -1 when v is not greater than 0.001.
CORVELIN_ENGINE_EXPORT int MatchColorIndex(double v, int n) noexcept;

struct CORVELIN_ENGINE_EXPORT CColorScheme {
    std::string Name;
    std::vector<CSchemeColor> Colors; // index 0 = lowest match
    CSchemeColor NotFoundThis;
    CSchemeColor NotFoundOther;

    // The user's current scheme; defaultColorCount is the count assumed when the scheme has no "nColors"
    // (0 for the colour scale and the matrix display, 1 for the match plot). A count above 4096 is taken as
    // damaged and read as that limit.
    static CColorScheme LoadCurrent(int defaultColorCount = 0);
};

// The name of the user's current scheme ("Colors" when none was chosen).
CORVELIN_ENGINE_EXPORT std::string CurrentColorSchemeName();

// One entry of the scheme menu: the scheme's index k, its name and whether it is the current one (exact,
// case-sensitive comparison).
struct CORVELIN_ENGINE_EXPORT CColorSchemeChoice {
    int Index = 0;
    std::string Name;
    bool Current = false;
};
// The defined schemes in index order; schemes with an empty name are left out.
CORVELIN_ENGINE_EXPORT std::vector<CColorSchemeChoice> ColorSchemeChoices();

// Makes scheme k (0-based) the user's choice: its name "ColorScheme<k>" ("Colors" when absent) is stored as the
// per-user scheme.
CORVELIN_ENGINE_EXPORT void SelectColorScheme(int k);

} // namespace corvelin
