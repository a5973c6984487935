#include <gtest/gtest.h>

#include "engine/options/ProgramOptions.h"
#include "tests/support/MemorySettingsStore.h"

using namespace corvelin;

namespace {

constexpr auto User = SettingsScope::CurrentUser;
constexpr auto Machine = SettingsScope::LocalMachine;

class ProgramOptionsTest : public testing::Test {
protected:
    std::shared_ptr<MemorySettingsStore> m_store = std::make_shared<MemorySettingsStore>();
    std::shared_ptr<SettingsStore> m_previous = SetSettingsStore(m_store);
    ~ProgramOptionsTest() override { SetSettingsStore(m_previous); }
};

TEST_F(ProgramOptionsTest, AnEmptyStoreGivesTheDocumentedDefaults)
{
    const CProgramOptions o = CProgramOptions::Load();
    EXPECT_EQ(o.PageLayout.BorderLeft, 15);
    EXPECT_EQ(o.PageLayout.BorderTop, 20);
    EXPECT_EQ(o.PageLayout.BorderRight, 20);
    EXPECT_EQ(o.PageLayout.BorderBottom, 20);
    EXPECT_EQ(o.PageLayout.BaseFontSize, 10);
    EXPECT_EQ(o.PageLayout.FontName, "Arial");
    EXPECT_EQ(o.PageLayout.PrintSearchOptions, 1);
    EXPECT_EQ(o.MaxPeaks, 200);
    EXPECT_EQ(o.MatrixDisplay.MinSize, 7);
    EXPECT_EQ(o.MatrixDisplay.SizeRange, 64);
    EXPECT_EQ(o.PagesShown, (std::array<int, kOptionalPageCount>{1, 0, 1, 1, 1, 1}));
    EXPECT_EQ(LoadLastLibraryFolder(), "");
}

// Each value is read from its own key: a value stored under the documented key comes back, and a flag
// stored as any non-zero number counts as shown.
TEST_F(ProgramOptionsTest, ValuesComeFromTheirDocumentedKeys)
{
    m_store->WriteSettingInt(User, "PageLayout", nullptr, "BorderBottom", 33);
    m_store->WriteSettingString(User, "PageLayout", nullptr, "FontName", "Courier");
    m_store->WriteSettingInt(User, "LibrarySearch", nullptr, "MaxPeaks", 12);
    m_store->WriteSettingString(User, "LibrarySearch", nullptr, "LastFolder", "/lib/");
    m_store->WriteSettingInt(User, "LibfileMatrix", nullptr, "SizeRange", 90);
    m_store->WriteSettingInt(Machine, "Corvelinscope", nullptr, "ShowPageReport", 5);
    m_store->WriteSettingInt(Machine, "Corvelinscope", nullptr, "ShowMultiSummary", 0);
    m_store->WriteSettingInt(User, "Corvelinscope", nullptr, "Last FileType Index", 3);

    const CProgramOptions o = CProgramOptions::Load();
    EXPECT_EQ(o.PageLayout.BorderBottom, 33);
    EXPECT_EQ(o.PageLayout.BorderTop, 20);
    EXPECT_EQ(o.PageLayout.FontName, "Courier");
    EXPECT_EQ(o.MaxPeaks, 12);
    EXPECT_EQ(o.MatrixDisplay.SizeRange, 90);
    EXPECT_EQ(o.MatrixDisplay.MinSize, 7);
    EXPECT_EQ(o.Shown(OptionalPage::MassSpecReport), 1);
    EXPECT_FALSE(IsPageShown(OptionalPage::MultiSummary));
    EXPECT_TRUE(IsPageShown(OptionalPage::OverlayPlot));
    EXPECT_EQ(LoadLastLibraryFolder(), "/lib/");
    EXPECT_EQ(LoadLastFileTypeIndex(), 3);
}

TEST_F(ProgramOptionsTest, WriteStoresWhatTheDialogEditsButNotTheMultiSummaryFlag)
{
    CProgramOptions o;
    o.MaxPeaks = 4999;
    o.PageLayout.BorderLeft = 1;
    o.PageLayout.FontName = "Mono";
    o.MatrixDisplay.MinSize = 2;
    o.Shown(OptionalPage::ChromatogramAdd) = 0;
    o.Shown(OptionalPage::MassSpecReport) = 1;
    o.Shown(OptionalPage::MultiSummary) = 0;
    o.Write();

    EXPECT_EQ(m_store->GetSettingInt(User, "LibrarySearch", nullptr, "MaxPeaks", -1), 4999);
    EXPECT_EQ(m_store->GetSettingInt(User, "PageLayout", nullptr, "BorderLeft", -1), 1);
    EXPECT_EQ(m_store->GetSettingString(User, "PageLayout", nullptr, "FontName", ""), "Mono");
    EXPECT_EQ(m_store->GetSettingInt(User, "LibfileMatrix", nullptr, "MinSize", -1), 2);
    EXPECT_EQ(m_store->GetSettingInt(Machine, "Corvelinscope", nullptr, "ShowPageAdd", -1), 0);
    EXPECT_EQ(m_store->GetSettingInt(Machine, "Corvelinscope", nullptr, "ShowPageReport", -1), 1);
    EXPECT_EQ(m_store->GetSettingInt(Machine, "Corvelinscope", nullptr, "ShowMultiSummary", -1), -1);
}

} // namespace
