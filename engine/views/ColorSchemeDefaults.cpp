#include "engine/views/ColorSchemeDefaults.h"

#include "engine/options/SettingsStore.h"
#include "engine/platform/CFormat.h"

namespace corvelin {

const std::vector<CDefaultColorScheme>& DefaultColorSchemes()
{
    static const std::vector<CDefaultColorScheme> schemes = {
        {"Colors",
         {{0, 0, 143},
          {0, 0, 255},
          {0, 112, 255},
          {0, 223, 255},
          {80, 255, 175},
          {175, 255, 80},
          {255, 223, 0},
          {255, 112, 0},
          {255, 0, 0},
          {143, 0, 0}},
         {0, 0, 0},
         {128, 128, 128}},
        {"Viridis",
         {{68, 1, 84},
          {72, 40, 120},
          {62, 74, 137},
          {49, 104, 142},
          {38, 130, 142},
          {31, 158, 137},
          {53, 183, 121},
          {109, 205, 89},
          {180, 222, 44},
          {253, 231, 37}},
         {0, 0, 0},
         {230, 97, 1}},
        {"Grey",
         {{224, 224, 224},
          {192, 192, 192},
          {160, 160, 160},
          {128, 128, 128},
          {96, 96, 96},
          {64, 64, 64},
          {32, 32, 32},
          {0, 0, 0}},
         {0, 0, 255},
         {255, 0, 0}},
    };
    return schemes;
}

bool InstallDefaultColorSchemes(SettingsStore& store)
{
    constexpr SettingsScope machine = SettingsScope::LocalMachine;
    if (store.GetSettingInt(machine, kColorSchemesSection, nullptr, "nColorSchemes", 0) > 0)
        return false;
    const auto& schemes = DefaultColorSchemes();
    for (std::size_t k = 0; k < schemes.size(); ++k) {
        const CDefaultColorScheme& scheme = schemes[k];
        const char* name = scheme.Name.c_str();
        store.WriteSettingString(machine, kColorSchemesSection, nullptr, FormatC("ColorScheme%d", int(k)).c_str(),
                                 name);
        if (store.GetSettingInt(machine, kColorSchemesSection, name, "nColors", 0) > 0)
            continue;
        for (std::size_t i = 0; i < scheme.Colors.size(); ++i)
            store.WriteSettingString(machine, kColorSchemesSection, name, FormatC("Color%i", int(i)).c_str(),
                                     FormatSchemeColor(scheme.Colors[i]).c_str());
        store.WriteSettingString(machine, kColorSchemesSection, name, "NotFoundThis",
                                 FormatSchemeColor(scheme.NotFoundThis).c_str());
        store.WriteSettingString(machine, kColorSchemesSection, name, "NotFoundOther",
                                 FormatSchemeColor(scheme.NotFoundOther).c_str());
        // The count last: a scheme is only seen once its colours are there.
        store.WriteSettingInt(machine, kColorSchemesSection, name, "nColors", static_cast<int>(scheme.Colors.size()));
    }
    store.WriteSettingInt(machine, kColorSchemesSection, nullptr, "nColorSchemes", static_cast<int>(schemes.size()));
    return true;
}

} // namespace corvelin
