#include "engine/views/ColorScheme.h"

#include <cmath>
#include <cstdio>

#include "engine/options/SettingsStore.h"
#include "engine/platform/CFormat.h"

namespace corvelin {

namespace {

constexpr int kMaxColors = 4096;

// atoi on a part of the text: leading blanks, an optional sign, then digits up to the first non-digit.
int PartValue(std::string_view text, std::size_t from)
{
    if (from >= text.size())
        return 0;
    const std::string_view part = text.substr(from, 3);
    std::size_t i = 0;
    while (i < part.size() && (part[i] == ' ' || part[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < part.size() && (part[i] == '+' || part[i] == '-'))
        negative = part[i++] == '-';
    int value = 0;
    for (; i < part.size() && part[i] >= '0' && part[i] <= '9'; ++i)
        value = value * 10 + (part[i] - '0');
    return negative ? -value : value;
}

unsigned char Modulo256(int value)
{
    return static_cast<unsigned char>(static_cast<unsigned int>(value) & 0xFFu);
}

CSchemeColor ReadColor(const std::string& scheme, const char* valueName)
{
    return ParseSchemeColor(
        GetSettingString(SettingsScope::LocalMachine, kColorSchemesSection, scheme.c_str(), valueName, "000000000"));
}

} // namespace

CSchemeColor ParseSchemeColor(std::string_view text)
{
    return {Modulo256(PartValue(text, 0)), Modulo256(PartValue(text, 3)), Modulo256(PartValue(text, 6))};
}

std::string FormatSchemeColor(CSchemeColor color)
{
    return FormatC("%03d%03d%03d", color.R, color.G, color.B);
}

int SchemeColorIndex(double v, int n) noexcept
{
    if (n < 1)
        return -1;
    const double scaled = std::trunc(v * (n - 1));
    if (!(scaled > 0))
        return 0;
    return scaled >= n - 1 ? n - 1 : static_cast<int>(scaled);
}

int MatchColorIndex(double v, int n) noexcept
{
    return v > 0.001 ? SchemeColorIndex(v, n) : -1;
}

std::string CurrentColorSchemeName()
{
    return GetSettingString(SettingsScope::CurrentUser, kColorSchemesSection, nullptr, nullptr, kDefaultColorScheme);
}

CColorScheme CColorScheme::LoadCurrent(int defaultColorCount)
{
    CColorScheme scheme;
    scheme.Name = CurrentColorSchemeName();
    const char* name = scheme.Name.c_str();
    int n = GetSettingInt(SettingsScope::LocalMachine, kColorSchemesSection, name, "nColors", defaultColorCount);
    if (n > kMaxColors)
        n = kMaxColors;
    for (int i = 0; i < n; ++i)
        scheme.Colors.push_back(ReadColor(scheme.Name, FormatC("Color%i", i).c_str()));
    scheme.NotFoundThis = ReadColor(scheme.Name, "NotFoundThis");
    scheme.NotFoundOther = ReadColor(scheme.Name, "NotFoundOther");
    return scheme;
}

std::vector<CColorSchemeChoice> ColorSchemeChoices()
{
    std::vector<CColorSchemeChoice> choices;
    const int count = GetSettingInt(SettingsScope::LocalMachine, kColorSchemesSection, nullptr, "nColorSchemes", 0);
    const std::string current = CurrentColorSchemeName();
    for (int i = 0; i < count && i < kMaxColors; ++i) {
        std::string name = GetSettingString(SettingsScope::LocalMachine, kColorSchemesSection, nullptr,
                                            FormatC("ColorScheme%d", i).c_str(), "");
        if (name.empty())
            continue;
        const bool isCurrent = name == current;
        choices.push_back({i, std::move(name), isCurrent});
    }
    return choices;
}

void SelectColorScheme(int k)
{
    const std::string name = GetSettingString(SettingsScope::LocalMachine, kColorSchemesSection, nullptr,
                                              FormatC("ColorScheme%i", k).c_str(), kDefaultColorScheme);
    WriteSettingString(SettingsScope::CurrentUser, kColorSchemesSection, nullptr, nullptr, name.c_str());
}

} // namespace corvelin
