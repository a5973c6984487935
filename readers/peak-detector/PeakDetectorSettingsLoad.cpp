// Reading the detector parameters from the settings store (kept apart so that the detector itself links
// without the store).
#include "readers/peak-detector/PeakDetectorSettings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/options/SettingsStore.h"

namespace corvelin {

namespace {

double ReadDouble(const std::string& section, const char* name, double fallback)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", fallback);
    const std::string stored = GetSettingString(SettingsScope::LocalMachine, section.c_str(), nullptr, name, text);
    char* end = nullptr;
    const double value = std::strtod(stored.c_str(), &end);
    return end != stored.c_str() && std::isfinite(value) ? value : fallback;
}

} // namespace

CPeakDetectorSettings CPeakDetectorSettings::FromSettings(const std::string& section)
{
    CPeakDetectorSettings s;
    if (section.empty())
        return s;
    const char* sec = section.c_str();
    s.SmoothingWidth = GetSettingInt(SettingsScope::LocalMachine, sec, nullptr, "SmoothingWidth", s.SmoothingWidth);
    s.SignalToNoise = ReadDouble(section, "SignalToNoise", s.SignalToNoise);
    s.SpectrumThreshold = ReadDouble(section, "SpectrumThreshold", s.SpectrumThreshold);
    s.MaxNominalMass = GetSettingInt(SettingsScope::LocalMachine, sec, nullptr, "MaxNominalMass", s.MaxNominalMass);
    s.MaxPeaks = GetSettingInt(SettingsScope::LocalMachine, sec, nullptr, "MaxPeaks", s.MaxPeaks);
    s.Sanitize();
    return s;
}

} // namespace corvelin
