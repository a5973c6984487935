#include "readers/peak-table/LabColumnSettings.h"

#include "engine/options/SettingsStore.h"
#include "readers/peak-table/TableText.h"

namespace corvelin {

namespace peaktable {

namespace {

std::string FirstSetting(const std::vector<std::string>& sections, const std::string& valueName)
{
    for (const char* subsection : {kLabColumnsSubsection, static_cast<const char*>(nullptr)})
        for (const std::string& section : sections) {
            std::string text =
                GetSettingString(SettingsScope::LocalMachine, section.c_str(), subsection, valueName.c_str(), "");
            if (!TrimBlanks(text).empty())
                return text;
        }
    return {};
}

std::vector<std::string> SplitNames(const std::string& text)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t bar = text.find('|', start);
        const std::string_view name = TrimBlanks(
            std::string_view(text).substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (!name.empty())
            names.emplace_back(name);
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    return names;
}

} // namespace

std::string LabColumnValueName(ColumnRole role)
{
    std::string text = RoleText(role);
    // "retention time" -> "RT", "retention index" -> "RI"; the others with a capital first letter.
    if (role == ColumnRole::RT)
        text = "RT";
    else if (role == ColumnRole::RI)
        text = "RI";
    else
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text + " Column";
}

LabColumns LoadLabColumns(const std::vector<std::string>& sections) noexcept
{
    LabColumns lab;
    try {
        for (std::size_t r = 0; r < kRoleCount; ++r)
            lab.names[r] = SplitNames(FirstSetting(sections, LabColumnValueName(static_cast<ColumnRole>(r))));
        // The unit as if written in brackets after a header: "s", "sec", "min", "minutes", ...
        std::string unit = FirstSetting(sections, "RT Unit");
        unit.insert(unit.begin(), '(');
        unit.push_back(')');
        lab.rtUnit = ReduceHeader(unit).unit;
        if (lab.rtUnit == TimeUnit::Unknown)
            lab.rtUnit = TimeUnit::Unstated;
    } catch (...) {
        return LabColumns{};
    }
    return lab;
}

} // namespace peaktable

} // namespace corvelin
