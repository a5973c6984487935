// Reading and writing the detector parameters in the settings store (kept apart so that the detector itself links
// without the store).
#include "engine/peaks/PeakDetectorSettings.h"

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

void CPeakDetectorSettings::Store(const std::string& section) const
{
    if (section.empty())
        return;
    CPeakDetectorSettings s = *this;
    s.Sanitize();
    const char* sec = section.c_str();
    const auto text = [](double value) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.1f", value);
        return std::string(buffer);
    };
    WriteSettingInt(SettingsScope::LocalMachine, sec, nullptr, "SmoothingWidth", s.SmoothingWidth);
    WriteSettingString(SettingsScope::LocalMachine, sec, nullptr, "SignalToNoise", text(s.SignalToNoise).c_str());
    WriteSettingString(SettingsScope::LocalMachine, sec, nullptr, "SpectrumThreshold",
                       text(s.SpectrumThreshold).c_str());
    WriteSettingInt(SettingsScope::LocalMachine, sec, nullptr, "MaxNominalMass", s.MaxNominalMass);
    WriteSettingInt(SettingsScope::LocalMachine, sec, nullptr, "MaxPeaks", s.MaxPeaks);
}

} // namespace corvelin
