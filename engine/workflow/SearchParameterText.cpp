#include "engine/workflow/SearchParameterText.h"

#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"

namespace corvelin {

namespace {

const char* YesNo(int flag)
{
    return flag ? "Yes" : "No";
}

const char* WeightingName(int weighting)
{
    static const char* const names[] = {"none", "Area", "Height", "log(Area)", "log(Height)"};
    return weighting >= 0 && weighting <= 4 ? names[weighting] : "none";
}

} // namespace

std::string MatchingFlagLines(const CSearchOptions& o)
{
    std::string t = FormatC("MS matching = %s\n", YesNo(o.MSMatching));
    t += FormatC("RT matching = %s\n", YesNo(o.RTMatching));
    t += FormatC("RI matching = %s\n", YesNo(o.RIMatching));
    t += FormatC("Area matching = %s\n", YesNo(o.AreaMatching));
    t += FormatC("Height matching = %s\n", YesNo(o.HeightMatching));
    t +=
        FormatC("Area/Height compare option = %s\n", o.AbsoluteAreaHeight ? "absolute counts" : "relative area/height");
    return t;
}

std::string WindowAndThresholdLines(const CSearchOptions& o)
{
    std::string t = FormatC("Weighting: %s\n", WeightingName(o.Weighting));
    if (o.RTMatching)
        t += FormatC("RT window width: %.2f\n", o.RTWindowWidth);
    if (o.RIMatching)
        t += FormatC("RI window width: %.1f\n", o.RIWindowWidth);
    t += FormatC("Mass Threshold used: %s\n", YesNo(o.MassThresholdOn));
    if (o.MassThresholdOn)
        t += FormatC("Mass Threshold: %.2f %%\n", o.MassThreshold);
    t += FormatC("Area Threshold used: %s\n", YesNo(o.AreaThresholdOn));
    if (o.AreaThresholdOn)
        t += FormatC("Area Threshold: %.2f %%\n", o.AreaThreshold);
    return t;
}

std::string SearchParameterText(const CSearchOptions& o)
{
    std::string t = "Search Parameter:\n" + MatchingFlagLines(o);
    t += "RT search range: " + o.TimeRange + "\n";
    t += FormatC("Allow multiple matching = %s\n", YesNo(o.MultipleMatching));
    return t + WindowAndThresholdLines(o);
}

} // namespace corvelin
