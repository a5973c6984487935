#pragma once
// Which column of a peak table holds what: header texts recognised by name through a small table of aliases, a
// lab's own column names from the settings first, and the time unit a header states ("R.T. (s)", "RT [min]",
// "RT_sec").
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvelin {

namespace peaktable {

enum class ColumnRole { RT, RI, Area, Height, Start, End, Spectrum, Name };
inline constexpr std::size_t kRoleCount = 8;

// Unknown: the header states a unit in brackets that is not a unit of time the reader knows.
enum class TimeUnit { Unstated, Seconds, Minutes, Milliseconds, Hours, Unknown };

// A header text reduced for comparison: lower case, letters and digits only, without the unit it states.
struct HeaderName {
    std::string name;
    TimeUnit unit = TimeUnit::Unstated;
    std::string unitText; // the bracketed text of an Unknown unit
};
HeaderName ReduceHeader(std::string_view header);

// A lab's own header texts per role (compared after ReduceHeader, so case, blanks and punctuation do not
// matter) and, optionally, the unit of its retention times. Checked before the built-in aliases.
struct LabColumns {
    std::array<std::vector<std::string>, kRoleCount> names;
    TimeUnit rtUnit = TimeUnit::Unstated;
};

// Columns found in a header row: the index of each role's column or -1, and the units the header states.
struct ColumnMap {
    std::array<int, kRoleCount> index{-1, -1, -1, -1, -1, -1, -1, -1};
    std::array<TimeUnit, kRoleCount> unit{};
    std::array<std::string, kRoleCount> unitText{};

    int Of(ColumnRole role) const noexcept { return index[static_cast<std::size_t>(role)]; }
    bool Has(ColumnRole role) const noexcept { return Of(role) >= 0; }
    TimeUnit UnitOf(ColumnRole role) const noexcept { return unit[static_cast<std::size_t>(role)]; }
};

// The first column of each role: a lab name wins over a built-in alias; a column serves one role only. The lab's
// retention time unit applies only where the header states none.
ColumnMap RecogniseColumns(const std::vector<std::string>& headerCells, const LabColumns& lab);

// Text for messages: "retention time", "spectrum", ... and the header names the reader knows for a role.
const char* RoleText(ColumnRole role) noexcept;
const char* RoleExamples(ColumnRole role) noexcept;

} // namespace peaktable

} // namespace corvelin
