#include "gui/print/PageLayoutSettings.h"

#include "engine/options/SettingsStore.h"

namespace corvelin {

CPageLayoutSettings CPageLayoutSettings::Load()
{
    constexpr SettingsScope user = SettingsScope::CurrentUser;
    CPageLayoutSettings s;
    s.BorderLeft = GetSettingInt(user, "PageLayout", nullptr, "BorderLeft", 15);
    s.BorderTop = GetSettingInt(user, "PageLayout", nullptr, "BorderTop", 20);
    s.BorderRight = GetSettingInt(user, "PageLayout", nullptr, "BorderRight", 20);
    s.BorderBottom = GetSettingInt(user, "PageLayout", nullptr, "BorderBottom", 20);
    s.BaseFontSize = GetSettingInt(user, "PageLayout", nullptr, "BaseFontSize", 10);
    s.FontName = GetSettingString(user, "PageLayout", nullptr, "FontName", "Arial");
    s.PrintSearchOptions = GetSettingInt(user, "PageLayout", nullptr, "PrintSearchOptions", 1);
    return s;
}

} // namespace corvelin
