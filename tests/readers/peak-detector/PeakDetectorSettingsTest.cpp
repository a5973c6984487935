#include <gtest/gtest.h>

#include "tests/support/MemorySettingsStore.h"
#include "engine/peaks/PeakDetectorSettings.h"

using namespace corvelin;

namespace {

constexpr const char* kSection = "Plugins\\ANDI-MS";

TEST(PeakDetectorSettings, AbsentValuesGiveTheDocumentedDefaults)
{
    ScopedMemorySettings settings;
    const CPeakDetectorSettings s = CPeakDetectorSettings::FromSettings(kSection);
    EXPECT_EQ(s.SmoothingWidth, 3);
    EXPECT_DOUBLE_EQ(s.SignalToNoise, 10.0);
    EXPECT_DOUBLE_EQ(s.SpectrumThreshold, 0.5);
    EXPECT_EQ(s.MaxNominalMass, 2000);
    EXPECT_EQ(s.MaxPeaks, 0);
}

TEST(PeakDetectorSettings, ReadsTheSectionAndClampsUnusableValues)
{
    ScopedMemorySettings settings;
    auto& store = *settings;
    store.WriteSettingInt(SettingsScope::LocalMachine, kSection, nullptr, "SmoothingWidth", 4);
    store.WriteSettingString(SettingsScope::LocalMachine, kSection, nullptr, "SignalToNoise", "25.5");
    store.WriteSettingString(SettingsScope::LocalMachine, kSection, nullptr, "SpectrumThreshold", "many");
    store.WriteSettingInt(SettingsScope::LocalMachine, kSection, nullptr, "MaxNominalMass", 5);
    store.WriteSettingInt(SettingsScope::LocalMachine, kSection, nullptr, "MaxPeaks", -3);
    // Another plug-in's section and the per-user scope are not read.
    store.WriteSettingInt(SettingsScope::LocalMachine, "Plugins\\JCAMP-GCMS", nullptr, "MaxPeaks", 7);
    store.WriteSettingString(SettingsScope::CurrentUser, kSection, nullptr, "SignalToNoise", "99.0");

    const CPeakDetectorSettings s = CPeakDetectorSettings::FromSettings(kSection);
    EXPECT_EQ(s.SmoothingWidth, 5); // widths are odd
    EXPECT_DOUBLE_EQ(s.SignalToNoise, 25.5);
    EXPECT_DOUBLE_EQ(s.SpectrumThreshold, 0.5); // not a number: default
    EXPECT_EQ(s.MaxNominalMass, 10);
    EXPECT_EQ(s.MaxPeaks, 0);

    store.WriteSettingString(SettingsScope::LocalMachine, kSection, nullptr, "SignalToNoise", "-1.0");
    EXPECT_DOUBLE_EQ(CPeakDetectorSettings::FromSettings(kSection).SignalToNoise, 10.0);
    EXPECT_EQ(CPeakDetectorSettings::FromSettings("").MaxPeaks, 0); // no section: defaults
}

} // namespace
