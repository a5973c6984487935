#pragma once
// Typed comparison of two cell texts of a report table, the building block of its sort.
#include <string>

#include "engine/core/EngineExport.h"
#include "engine/platform/NumberScan.h" // the readers of compare types 1 and 2

namespace corvelin {

// Compare types of a sort key. The numbers are the stored/documented ones; 4 is unused.
enum CellCompareType : int {
    kCompareText = 0,       // case-sensitive text comparison
    kCompareInteger = 1,    // leading integer of each text (LeadingInteger); a text without digits reads 0
    kCompareReal = 2,       // leading real of each text (LeadingReal); values closer than 0.0001 are equal
    kCompareDateTime = 3,   // date-time in the user's locale; equal within half a second
    kCompareEqual = 5,      // always equal (an unused key)
    kCompareTextNoCase = 6, // text comparison ignoring case
};

// <0, 0 or >0 as a compares to b under the type.
// @exception CUserException for type 3 when a text cannot be read as a date-time; a sort that meets it stops.
// An unknown type shows "Invalid compare type=%i" (once per program run) and compares equal.
CORVELIN_ENGINE_EXPORT int CompareCellTexts(const std::string& a, const std::string& b, int type);

// Date-time of a type-3 cell as days (fractional), or false when the text is not a date-time in the user's
// locale (its "%x %X" and "%x" forms) nor in ISO form ("%Y-%m-%d %H:%M:%S", "%Y-%m-%d").
CORVELIN_ENGINE_EXPORT bool ParseCellDateTime(const std::string& text, double& days);

// The message the calling page shows when a date-time sort stopped.
inline constexpr const char* kDateCompareMessage =
    "Could not compare the date format.\nTry choosing an other date format in the system setup and try again.";

} // namespace corvelin
