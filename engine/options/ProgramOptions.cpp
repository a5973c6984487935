#include "engine/options/ProgramOptions.h"
#include "engine/options/PluginSlots.h"

#include "engine/core/Exceptions.h"
#include "engine/options/SettingsStore.h"
#include "engine/platform/MessageSink.h"

namespace corvelin {

namespace {

constexpr SettingsScope kUser = SettingsScope::CurrentUser;
constexpr SettingsScope kMachine = SettingsScope::LocalMachine;
constexpr const char* kPageLayout = "PageLayout";
constexpr const char* kMatrix = "LibfileMatrix";
constexpr const char* kLibrarySearch = "LibrarySearch";
constexpr const char* kProgram = "Corvelinscope";

int PluginSlotCountOrThrow()
{
    const int slotCount = PluginSlotBound();
    if (slotCount == 0) {
        ShowMessage("ReadAmdisPath: Error reading number of file types plugins.");
        throw CUserException("no plug-in slot registered");
    }
    return slotCount;
}

// "Plugins\<key>" of a slot, empty when the slot has no key name.
std::string PluginSection(int slot)
{
    const std::string key =
        GetSettingString(kMachine, "Plugins", nullptr, ("Plugin" + std::to_string(slot)).c_str(), "");
    return key.empty() ? std::string() : "Plugins\\" + key;
}

} // namespace

CPageLayoutSettings CPageLayoutSettings::Load()
{
    const CPageLayoutSettings d;
    CPageLayoutSettings s;
    s.BorderLeft = GetSettingInt(kUser, kPageLayout, nullptr, "BorderLeft", d.BorderLeft);
    s.BorderTop = GetSettingInt(kUser, kPageLayout, nullptr, "BorderTop", d.BorderTop);
    s.BorderRight = GetSettingInt(kUser, kPageLayout, nullptr, "BorderRight", d.BorderRight);
    s.BorderBottom = GetSettingInt(kUser, kPageLayout, nullptr, "BorderBottom", d.BorderBottom);
    s.BaseFontSize = GetSettingInt(kUser, kPageLayout, nullptr, "BaseFontSize", d.BaseFontSize);
    s.FontName = GetSettingString(kUser, kPageLayout, nullptr, "FontName", d.FontName.c_str());
    s.PrintSearchOptions = GetSettingInt(kUser, kPageLayout, nullptr, "PrintSearchOptions", d.PrintSearchOptions);
    return s;
}

void CPageLayoutSettings::Write() const
{
    WriteSettingInt(kUser, kPageLayout, nullptr, "BorderLeft", BorderLeft);
    WriteSettingInt(kUser, kPageLayout, nullptr, "BorderTop", BorderTop);
    WriteSettingInt(kUser, kPageLayout, nullptr, "BorderRight", BorderRight);
    WriteSettingInt(kUser, kPageLayout, nullptr, "BorderBottom", BorderBottom);
    WriteSettingInt(kUser, kPageLayout, nullptr, "BaseFontSize", BaseFontSize);
    WriteSettingString(kUser, kPageLayout, nullptr, "FontName", FontName.c_str());
    WriteSettingInt(kUser, kPageLayout, nullptr, "PrintSearchOptions", PrintSearchOptions);
}

CMatrixDisplaySettings CMatrixDisplaySettings::Load()
{
    const CMatrixDisplaySettings d;
    CMatrixDisplaySettings s;
    s.MinSize = GetSettingInt(kUser, kMatrix, nullptr, "MinSize", d.MinSize);
    s.SizeRange = GetSettingInt(kUser, kMatrix, nullptr, "SizeRange", d.SizeRange);
    return s;
}

void CMatrixDisplaySettings::Write() const
{
    WriteSettingInt(kUser, kMatrix, nullptr, "MinSize", MinSize);
    WriteSettingInt(kUser, kMatrix, nullptr, "SizeRange", SizeRange);
}

int LoadMaxPeaks()
{
    return GetSettingInt(kUser, kLibrarySearch, nullptr, "MaxPeaks", kDefaultMaxPeaks);
}

void WriteMaxPeaks(int maxPeaks)
{
    WriteSettingInt(kUser, kLibrarySearch, nullptr, "MaxPeaks", maxPeaks);
}

std::string LoadLastLibraryFolder()
{
    return GetSettingString(kUser, kLibrarySearch, nullptr, "LastFolder", "");
}

std::string LoadLastSearchedFolder()
{
    const std::string searched = GetSettingString(kUser, kLibrarySearch, nullptr, "LastSearchedFolder", "");
    return searched.empty() ? LoadLastLibraryFolder() : searched;
}

void WriteLastSearchedFolder(const std::string& folder)
{
    WriteSettingString(kUser, kLibrarySearch, nullptr, "LastSearchedFolder", folder.c_str());
}

int LoadLastFileTypeIndex()
{
    return GetSettingInt(kUser, kProgram, nullptr, "Last FileType Index", 0);
}

bool HasLastFileTypeIndex()
{
    // Settings reads cannot report "absent": a value is absent when two different defaults both come back.
    return !(GetSettingInt(kUser, kProgram, nullptr, "Last FileType Index", -1) == -1 &&
             GetSettingInt(kUser, kProgram, nullptr, "Last FileType Index", -2) == -2);
}

void WriteLastFileTypeIndex(int index)
{
    WriteSettingInt(kUser, kProgram, nullptr, "Last FileType Index", index);
}

CSummaryPictureSize CSummaryPictureSize::Load()
{
    CSummaryPictureSize size;
    size.Width = GetSettingInt(kUser, "Settings", nullptr, "bmpWidth_MultiSummary", size.Width);
    size.Height = GetSettingInt(kUser, "Settings", nullptr, "bmpHeight_MultiSummary", size.Height);
    return size;
}

namespace {

struct CSaveFolderKey {
    const char* Section;
    const char* Value;
};

CSaveFolderKey KeyOf(SaveFolder folder)
{
    return folder == SaveFolder::SummaryExport ? CSaveFolderKey{"Settings", "MRUSummaryPath"}
                                               : CSaveFolderKey{"MatchTable", "Last Save Path"};
}

} // namespace

std::string LoadSaveFolder(SaveFolder folder)
{
    const CSaveFolderKey key = KeyOf(folder);
    return GetSettingString(kUser, key.Section, nullptr, key.Value, "");
}

void WriteSaveFolder(SaveFolder folder, const std::string& path)
{
    const CSaveFolderKey key = KeyOf(folder);
    WriteSettingString(kUser, key.Section, nullptr, key.Value, path.c_str());
}

bool IsPageShown(OptionalPage page)
{
    const COptionalPageFlag& flag = kOptionalPageFlags[static_cast<std::size_t>(page)];
    return GetSettingInt(kMachine, kProgram, nullptr, flag.Key, flag.Default) != 0;
}

void WritePageShown(OptionalPage page, bool shown)
{
    WriteSettingInt(kMachine, kProgram, nullptr, kOptionalPageFlags[static_cast<std::size_t>(page)].Key, shown ? 1 : 0);
}

CProgramOptions CProgramOptions::Load()
{
    CProgramOptions o;
    o.PageLayout = CPageLayoutSettings::Load();
    o.MaxPeaks = LoadMaxPeaks();
    o.MatrixDisplay = CMatrixDisplaySettings::Load();
    for (std::size_t i = 0; i < kOptionalPageCount; ++i)
        o.PagesShown[i] = IsPageShown(static_cast<OptionalPage>(i)) ? 1 : 0;
    return o;
}

void CProgramOptions::Write() const
{
    WriteMaxPeaks(MaxPeaks);
    PageLayout.Write();
    MatrixDisplay.Write();
    for (OptionalPage page : {OptionalPage::ChromatogramAdd, OptionalPage::MassSpecReport, OptionalPage::OverlayPlot,
                              OptionalPage::ChromatogramMatch, OptionalPage::PeakMatchTable})
        WritePageShown(page, Shown(page) != 0);
}

std::string ReadAmdisPath()
{
    const int slotCount = PluginSlotCountOrThrow();
    for (int i : PluginSlotIndexes(slotCount)) {
        const std::string section = PluginSection(i);
        if (section.empty())
            continue;
        std::string path = GetSettingString(kMachine, section.c_str(), nullptr, "AmdisPath", "");
        if (!path.empty())
            return path;
    }
    return {};
}

void WriteAmdisPath(const std::string& path)
{
    const int slotCount = PluginSlotCountOrThrow();
    for (int i : PluginSlotIndexes(slotCount)) {
        const std::string section = PluginSection(i);
        if (section.empty())
            continue;
        // A section holds the value when two different defaults read back the same text.
        const std::string a = GetSettingString(kMachine, section.c_str(), nullptr, "AmdisPath", "");
        const std::string b = GetSettingString(kMachine, section.c_str(), nullptr, "AmdisPath", "xxx");
        if (a == b)
            WriteSettingString(kMachine, section.c_str(), nullptr, "AmdisPath", path.c_str());
    }
}

} // namespace corvelin
