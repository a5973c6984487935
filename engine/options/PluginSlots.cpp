#include "engine/options/PluginSlots.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <limits>
#include <string>

#include "engine/options/SettingsStore.h"

namespace corvelin {

namespace {

bool IsPluginPrefix(const std::string& text)
{
    static const char kPrefix[] = "plugin";
    for (std::size_t i = 0; i < 6; ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != kPrefix[i])
            return false;
    return true;
}

// The number n of a value name "Plugin<n>" written as the slot loop writes it (no sign, no leading zero);
// -1 for any other name.
int SlotNumber(const std::string& name)
{
    constexpr std::size_t prefix = 6; // "Plugin"
    if (name.size() <= prefix || name.size() > prefix + 10 || !IsPluginPrefix(name))
        return -1;
    const std::string digits = name.substr(prefix);
    for (char c : digits)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return -1;
    if (digits.size() > 1 && digits.front() == '0')
        return -1;
    const long long n = std::strtoll(digits.c_str(), nullptr, 10);
    return n <= 2147483647 ? static_cast<int>(n) : -1;
}

} // namespace

int PluginSlotBound()
{
    const int count = GetSettingInt(SettingsScope::LocalMachine, "Plugins", nullptr, nullptr, 0);
    if (count < 0)
        return std::numeric_limits<int>::max();
    const std::string text = GetSettingString(SettingsScope::LocalMachine, "Plugins", nullptr, nullptr, "");
    const std::size_t first = text.find_first_not_of(" \t+");
    if (first != std::string::npos && text[first] != '-') {
        std::size_t end = first;
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
            ++end;
        const std::string digits = text.substr(first, end - first);
        const std::size_t lead = std::min(digits.find_first_not_of('0'), digits.size());
        if (digits.size() - lead > 10 || (digits.size() - lead == 10 && digits.substr(lead) > "2147483647"))
            return std::numeric_limits<int>::max();
    }
    return count;
}

std::vector<int> PluginSlotIndexes(int slots)
{
    std::vector<int> out;
    const auto names = GetSettingValueNames(SettingsScope::LocalMachine, "Plugins", nullptr);
    if (!names) {
        for (int i = 0; i < slots; ++i)
            out.push_back(i);
        return out;
    }
    for (const std::string& name : *names) {
        const int n = SlotNumber(name);
        if (n >= 0 && n < slots)
            out.push_back(n);
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

} // namespace corvelin
