#include "readers/peak-table/PeakTableColumns.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>

namespace corvelin {

namespace peaktable {

namespace {

struct RoleAliases {
    ColumnRole role;
    std::initializer_list<const char*> aliases; // reduced forms
};

// Reduced header names of the tools labs export peak tables from. "rtmin"/"rtmax" (written as one word) are
// the start and end of a peak; "RT min" and "RT (min)" are retention times in minutes.
const RoleAliases kAliases[] = {
    {ColumnRole::RT, {"retentiontime", "rt", "rettime", "time", "apexrt", "rtapex", "peakrt", "rtofapex"}},
    {ColumnRole::RI,
     {"retentiontimeindex", "retentionindex", "ri", "kovats", "kovatsindex", "kovatsri", "lri", "rindex"}},
    {ColumnRole::Area, {"area", "peakarea", "integratedarea", "areaabs"}},
    {ColumnRole::Height, {"height", "peakheight", "apexheight"}},
    {ColumnRole::Start, {"start", "starttime", "rtstart", "startrt", "begin", "integrationbegin", "rtmin", "left"}},
    {ColumnRole::End, {"end", "endtime", "rtend", "endrt", "integrationend", "rtmax", "right"}},
    {ColumnRole::Spectrum, {"spectrum", "spectra", "massspectrum", "peakspectrum", "apexspectrum", "msspectrum", "ms"}},
    {ColumnRole::Name, {"name", "compound", "compoundname", "peakname", "analyte", "component"}},
};

TimeUnit UnitOfWord(std::string_view w) noexcept
{
    if (w == "s" || w == "sec" || w == "secs" || w == "second" || w == "seconds")
        return TimeUnit::Seconds;
    if (w == "min" || w == "mins" || w == "minute" || w == "minutes")
        return TimeUnit::Minutes;
    if (w == "ms" || w == "msec" || w == "millisecond" || w == "milliseconds")
        return TimeUnit::Milliseconds;
    if (w == "h" || w == "hr" || w == "hrs" || w == "hour" || w == "hours")
        return TimeUnit::Hours;
    return TimeUnit::Unstated;
}

} // namespace

HeaderName ReduceHeader(std::string_view header)
{
    HeaderName result;
    std::vector<std::string> words;
    std::string word;
    int depth = 0;
    std::string bracketed;
    auto endWord = [&] {
        if (!word.empty())
            words.push_back(std::move(word));
        word.clear();
    };
    for (const char raw : header) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(raw)));
        if (c == '(' || c == '[') {
            endWord();
            ++depth;
            bracketed.clear();
        } else if ((c == ')' || c == ']') && depth > 0) {
            --depth;
            if (const TimeUnit u = UnitOfWord(bracketed); u != TimeUnit::Unstated) {
                result.unit = u;
            } else if (!bracketed.empty() && result.unit == TimeUnit::Unstated) {
                result.unit = TimeUnit::Unknown;
                result.unitText = bracketed;
            }
        } else if (depth > 0) {
            if (std::isalnum(static_cast<unsigned char>(c)))
                bracketed += c;
        } else if (std::isalnum(static_cast<unsigned char>(c))) {
            word += c;
        } else {
            endWord();
        }
    }
    endWord();
    // A unit written as the last separate word: "RT_sec", "Retention time min".
    if (words.size() > 1 && result.unit == TimeUnit::Unstated) {
        if (const TimeUnit u = UnitOfWord(words.back()); u != TimeUnit::Unstated) {
            result.unit = u;
            words.pop_back();
        }
    }
    for (const std::string& w : words)
        result.name += w;
    return result;
}

ColumnMap RecogniseColumns(const std::vector<std::string>& headerCells, const LabColumns& lab)
{
    ColumnMap map;
    std::vector<HeaderName> reduced;
    reduced.reserve(headerCells.size());
    for (const std::string& cell : headerCells)
        reduced.push_back(ReduceHeader(cell));
    std::vector<bool> used(reduced.size(), false);
    auto take = [&](ColumnRole role, std::string_view name) {
        const auto r = static_cast<std::size_t>(role);
        if (map.index[r] >= 0 || name.empty())
            return;
        for (std::size_t c = 0; c < reduced.size(); ++c) {
            if (!used[c] && reduced[c].name == name) {
                map.index[r] = static_cast<int>(c);
                map.unit[r] = reduced[c].unit;
                map.unitText[r] = reduced[c].unitText;
                used[c] = true;
                return;
            }
        }
    };
    for (std::size_t r = 0; r < kRoleCount; ++r)
        for (const std::string& name : lab.names[r])
            take(static_cast<ColumnRole>(r), ReduceHeader(name).name);
    for (const RoleAliases& entry : kAliases)
        for (const char* alias : entry.aliases)
            take(entry.role, alias);
    if (lab.rtUnit != TimeUnit::Unstated && map.UnitOf(ColumnRole::RT) == TimeUnit::Unstated)
        map.unit[static_cast<std::size_t>(ColumnRole::RT)] = lab.rtUnit;
    return map;
}

const char* RoleText(ColumnRole role) noexcept
{
    switch (role) {
    case ColumnRole::RT:
        return "retention time";
    case ColumnRole::RI:
        return "retention index";
    case ColumnRole::Area:
        return "area";
    case ColumnRole::Height:
        return "height";
    case ColumnRole::Start:
        return "start";
    case ColumnRole::End:
        return "end";
    case ColumnRole::Spectrum:
        return "spectrum";
    case ColumnRole::Name:
        return "name";
    }
    return "";
}

const char* RoleExamples(ColumnRole role) noexcept
{
    switch (role) {
    case ColumnRole::RT:
        return "RETENTION_TIME, R.T. (s), RT, Retention time (min)";
    case ColumnRole::Spectrum:
        return "SPECTRUM, Spectra, Mass spectrum";
    default:
        return "";
    }
}

} // namespace peaktable

} // namespace corvelin
