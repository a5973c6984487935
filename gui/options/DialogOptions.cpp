#include "gui/options/DialogOptions.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <string>

#include "gui/widgets/QtText.h"
#include "engine/core/Exceptions.h"
#include "engine/options/SettingsStore.h"
#include "engine/platform/MessageSink.h"
#include "gui/widgets/DataExchange.h"
#include "gui/widgets/FileDialogs.h"

namespace corvelin {

namespace {

constexpr SettingsScope kUser = SettingsScope::CurrentUser;
constexpr SettingsScope kMachine = SettingsScope::LocalMachine;

int PluginSlotCountOrThrow()
{
    const int slotCount = GetSettingInt(kMachine, "Plugins", nullptr, nullptr, 0);
    if (slotCount == 0) {
        ShowMessage("ReadAmdisPath: Error reading number of file types plugins.");
        throw CUserException("no plug-in slotCount");
    }
    return slotCount;
}

std::string PluginSection(int slot)
{
    const std::string key =
        GetSettingString(kMachine, "Plugins", nullptr, ("Plugin" + std::to_string(slot)).c_str(), "");
    return key.empty() ? std::string() : "Plugins\\" + key;
}

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return QString::compare(ToQString(a), ToQString(b), Qt::CaseInsensitive) == 0;
}

} // namespace

std::string CDialogOptions::ReadAmdisPath()
{
    const int slotCount = PluginSlotCountOrThrow();
    for (int i = 0; i < slotCount; ++i) {
        const std::string section = PluginSection(i);
        if (section.empty())
            continue;
        std::string path = GetSettingString(kMachine, section.c_str(), nullptr, "AmdisPath", "");
        if (!path.empty())
            return path;
    }
    return {};
}

CDialogOptions::CDialogOptions(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Options"));

    BorderTop = GetSettingInt(kUser, "PageLayout", nullptr, "BorderTop", 20);
    BorderBottom = GetSettingInt(kUser, "PageLayout", nullptr, "BorderBottom", 20);
    BorderLeft = GetSettingInt(kUser, "PageLayout", nullptr, "BorderLeft", 15);
    BorderRight = GetSettingInt(kUser, "PageLayout", nullptr, "BorderRight", 20);
    FontName = GetSettingString(kUser, "PageLayout", nullptr, "FontName", "Arial");
    BaseFontSize = GetSettingInt(kUser, "PageLayout", nullptr, "BaseFontSize", 10);
    PrintSearchOptions = GetSettingInt(kUser, "PageLayout", nullptr, "PrintSearchOptions", 1);
    MaxPeaks = GetSettingInt(kUser, "LibrarySearch", nullptr, "MaxPeaks", 200);
    MinSize = GetSettingInt(kUser, "LibfileMatrix", nullptr, "MinSize", 7);
    SizeRange = GetSettingInt(kUser, "LibfileMatrix", nullptr, "SizeRange", 64);
    // The page flags read as 0 or 1.
    ShowPageAdd = GetSettingInt(kMachine, "Corvelinscope", nullptr, "ShowPageAdd", 1) != 0;
    ShowPageReport = GetSettingInt(kMachine, "Corvelinscope", nullptr, "ShowPageReport", 0) != 0;
    ShowPageOverlay = GetSettingInt(kMachine, "Corvelinscope", nullptr, "ShowPageOverlay", 1) != 0;
    ShowPageMatchPlot = GetSettingInt(kMachine, "Corvelinscope", nullptr, "ShowPageMatchPlot", 1) != 0;
    ShowPeakMatchTable = GetSettingInt(kMachine, "Corvelinscope", nullptr, "ShowPeakMatchTable", 1) != 0;
    AmdisPath = ReadAmdisPath();

    auto* borders = new QGroupBox(QStringLiteral("Page Borders"), this);
    auto* bordersForm = new QFormLayout(borders);
    m_top = AddEdit(bordersForm, "Top (mm):");
    m_bottom = AddEdit(bordersForm, "Bottom (mm):");
    m_left = AddEdit(bordersForm, "Left (mm):");
    m_right = AddEdit(bordersForm, "Right (mm):");

    auto* print = new QGroupBox(QStringLiteral("Print Layout"), this);
    auto* printGrid = new QGridLayout(print);
    m_fontName = new QLineEdit(print);
    m_fontName->setReadOnly(true);
    m_fontSize = new QLineEdit(print);
    m_fontSize->setReadOnly(true);
    m_fontSize->setMaximumWidth(60);
    auto* fontButton = new QPushButton(QStringLiteral("..."), print);
    fontButton->setMaximumWidth(32);
    connect(fontButton, &QPushButton::clicked, this, &CDialogOptions::OnChooseFont);
    m_printSearch = new QCheckBox(QStringLiteral("Print Search Parameters"), print);
    printGrid->addWidget(new QLabel(QStringLiteral("Font Name:"), print), 0, 0);
    printGrid->addWidget(m_fontName, 0, 1);
    printGrid->addWidget(fontButton, 0, 2);
    printGrid->addWidget(new QLabel(QStringLiteral("Base Font Size:"), print), 1, 0);
    printGrid->addWidget(m_fontSize, 1, 1, Qt::AlignLeft);
    printGrid->addWidget(m_printSearch, 2, 0, 1, 3);

    auto* memory = new QGroupBox(QStringLiteral("Memory / Performance Options"), this);
    auto* memoryForm = new QFormLayout(memory);
    m_maxPeaks = AddEdit(memoryForm, "Max. Peaks:");

    auto* matrix = new QGroupBox(QStringLiteral("Matrix Display Options"), this);
    auto* matrixForm = new QFormLayout(matrix);
    m_minSize = AddEdit(matrixForm, "min Size:");
    m_sizeRange = AddEdit(matrixForm, "Size Range:");

    auto* functions = new QGroupBox(QStringLiteral("Funtions"), this);
    auto* functionsLayout = new QVBoxLayout(functions);
    m_showAdd = new QCheckBox(QStringLiteral("Show \"Add Chromatogram\""), functions);
    m_showReport = new QCheckBox(QStringLiteral("Show \"MS Match Report\""), functions);
    m_showOverlay = new QCheckBox(QStringLiteral("Show \"Overlay Plot\""), functions);
    m_showMatchPlot = new QCheckBox(QStringLiteral("Show \"Match Plot\""), functions);
    m_showPeakTable = new QCheckBox(QStringLiteral("Show \"Peak Match Table\""), functions);
    for (QCheckBox* box : {m_showAdd, m_showReport, m_showOverlay, m_showMatchPlot, m_showPeakTable})
        functionsLayout->addWidget(box);

    auto* amdis = new QGroupBox(QStringLiteral("AMDIS"), this);
    auto* amdisLayout = new QHBoxLayout(amdis);
    m_amdisPath = new QLineEdit(amdis);
    auto* amdisButton = new QPushButton(QStringLiteral("..."), amdis);
    amdisButton->setMaximumWidth(32);
    connect(amdisButton, &QPushButton::clicked, this, &CDialogOptions::OnChooseAmdis);
    amdisLayout->addWidget(new QLabel(QStringLiteral("AMDIS Program Path:"), amdis));
    amdisLayout->addWidget(m_amdisPath, 1);
    amdisLayout->addWidget(amdisButton);

    auto* grid = new QGridLayout;
    grid->addWidget(borders, 0, 0);
    grid->addWidget(print, 0, 1);
    grid->addWidget(memory, 1, 0);
    grid->addWidget(matrix, 1, 1);
    grid->addWidget(functions, 2, 0);
    auto* right = new QVBoxLayout;
    right->addStretch(1);
    grid->addLayout(right, 2, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDialogOptions::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDialogOptions::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(amdis);
    layout->addWidget(buttons);

    RefreshControls();
}

QLineEdit* CDialogOptions::AddEdit(QFormLayout* form, const char* label, bool readOnly)
{
    auto* edit = new QLineEdit(form->parentWidget());
    edit->setReadOnly(readOnly);
    edit->setMaximumWidth(90);
    form->addRow(QString::fromLatin1(label), edit);
    return edit;
}

void CDialogOptions::Run(QWidget* parent)
{
    try {
        CDialogOptions dialog(parent);
        dialog.exec();
    } catch (const CUserException&) {
        // The message was shown; the dialog is not opened.
    }
}

bool CDialogOptions::StoreControls()
{
    // The field exchange order decides which message comes first.
    if (!ExchangeInt(true, m_top, BorderTop, 0, INT_MAX) || !ExchangeInt(true, m_bottom, BorderBottom, 0, INT_MAX) ||
        !ExchangeInt(true, m_left, BorderLeft, 0, INT_MAX) || !ExchangeInt(true, m_right, BorderRight, 0, INT_MAX))
        return false;
    ExchangeText(true, m_fontName, FontName);
    ExchangeCheck(true, m_printSearch, PrintSearchOptions);
    if (!ExchangeInt(true, m_maxPeaks, MaxPeaks, 1, 5000) || !ExchangeInt(true, m_minSize, MinSize, 1, INT_MAX) ||
        !ExchangeInt(true, m_sizeRange, SizeRange, 1, INT_MAX) ||
        !ExchangeInt(true, m_fontSize, BaseFontSize, INT_MIN, INT_MAX))
        return false;
    ExchangeCheck(true, m_showAdd, ShowPageAdd);
    ExchangeCheck(true, m_showReport, ShowPageReport);
    ExchangeCheck(true, m_showOverlay, ShowPageOverlay);
    ExchangeCheck(true, m_showMatchPlot, ShowPageMatchPlot);
    ExchangeText(true, m_amdisPath, AmdisPath);
    ExchangeCheck(true, m_showPeakTable, ShowPeakMatchTable);
    return true;
}

void CDialogOptions::RefreshControls()
{
    ExchangeInt(false, m_top, BorderTop, 0, 0);
    ExchangeInt(false, m_bottom, BorderBottom, 0, 0);
    ExchangeInt(false, m_left, BorderLeft, 0, 0);
    ExchangeInt(false, m_right, BorderRight, 0, 0);
    ExchangeText(false, m_fontName, FontName);
    ExchangeCheck(false, m_printSearch, PrintSearchOptions);
    ExchangeInt(false, m_maxPeaks, MaxPeaks, 0, 0);
    ExchangeInt(false, m_minSize, MinSize, 0, 0);
    ExchangeInt(false, m_sizeRange, SizeRange, 0, 0);
    ExchangeInt(false, m_fontSize, BaseFontSize, 0, 0);
    ExchangeCheck(false, m_showAdd, ShowPageAdd);
    ExchangeCheck(false, m_showReport, ShowPageReport);
    ExchangeCheck(false, m_showOverlay, ShowPageOverlay);
    ExchangeCheck(false, m_showMatchPlot, ShowPageMatchPlot);
    ExchangeText(false, m_amdisPath, AmdisPath);
    ExchangeCheck(false, m_showPeakTable, ShowPeakMatchTable);
}

void CDialogOptions::ApplyChosenFont(const QString& family, double pointSize)
{
    FontName = ToStdString(family.left(32));
    BaseFontSize = static_cast<int>(pointSize); // tenths of a point / 10, remainder dropped
    RefreshControls();
}

void CDialogOptions::OnChooseFont()
{
    if (!StoreControls())
        return;
    QFont initial(ToQString(FontName).left(32));
    initial.setPointSize(BaseFontSize > 0 ? BaseFontSize : 10);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, this, QStringLiteral("Font"));
    if (ok)
        ApplyChosenFont(chosen.family(), chosen.pointSizeF());
}

void CDialogOptions::ApplyChosenAmdisPath(std::string previousPath, const QString& chosen)
{
    if (!chosen.isEmpty())
        AmdisPath = ToStdString(chosen);
    RefreshControls();
    if (!SameIgnoringCase(AmdisPath, previousPath))
        Messages().ShowMessage("The change of the AMDIS Path will take effect the next time Corvelinscope is restarted",
                               "AMDIS Path changed", MessageIcon::Information);
}

void CDialogOptions::OnChooseAmdis()
{
    const std::string previous = AmdisPath;
    if (!StoreControls())
        return;
    const QString current = ToQString(AmdisPath);
    const int slash = std::max(current.lastIndexOf(QLatin1Char('\\')), current.lastIndexOf(QLatin1Char('/')));
    CFileChoice request;
    request.kind = CFileChoice::Open;
    request.initialFolder = slash >= 0 ? current.left(slash) : QString();
    request.initialFile = current;
    request.filter = "AMDIS executable (amdis*.exe)|amdis*.exe|All Files (*.*)|*.*||";
    request.defaultSuffix = QStringLiteral("exe");
    const QString chosen = ChooseFile(this, request).path;
    ApplyChosenAmdisPath(previous, chosen);
}

void CDialogOptions::WriteSettings()
{
    WriteSettingInt(kUser, "LibrarySearch", nullptr, "MaxPeaks", MaxPeaks);
    WriteSettingInt(kUser, "PageLayout", nullptr, "BorderLeft", BorderLeft);
    WriteSettingInt(kUser, "PageLayout", nullptr, "BorderTop", BorderTop);
    WriteSettingInt(kUser, "PageLayout", nullptr, "BorderRight", BorderRight);
    WriteSettingInt(kUser, "PageLayout", nullptr, "BorderBottom", BorderBottom);
    WriteSettingInt(kUser, "PageLayout", nullptr, "BaseFontSize", BaseFontSize);
    WriteSettingString(kUser, "PageLayout", nullptr, "FontName", FontName.c_str());
    WriteSettingInt(kUser, "PageLayout", nullptr, "PrintSearchOptions", PrintSearchOptions);
    WriteSettingInt(kUser, "LibfileMatrix", nullptr, "MinSize", MinSize);
    WriteSettingInt(kUser, "LibfileMatrix", nullptr, "SizeRange", SizeRange);
    WriteSettingInt(kMachine, "Corvelinscope", nullptr, "ShowPageAdd", ShowPageAdd);
    WriteSettingInt(kMachine, "Corvelinscope", nullptr, "ShowPageReport", ShowPageReport);
    WriteSettingInt(kMachine, "Corvelinscope", nullptr, "ShowPageOverlay", ShowPageOverlay);
    WriteSettingInt(kMachine, "Corvelinscope", nullptr, "ShowPageMatchPlot", ShowPageMatchPlot);
    WriteSettingInt(kMachine, "Corvelinscope", nullptr, "ShowPeakMatchTable", ShowPeakMatchTable);
    // The AMDIS path goes only into the plug-in sections that already hold the value.
    const int slotCount = PluginSlotCountOrThrow();
    for (int i = 0; i < slotCount; ++i) {
        const std::string section = PluginSection(i);
        if (section.empty())
            continue;
        const std::string a = GetSettingString(kMachine, section.c_str(), nullptr, "AmdisPath", "");
        const std::string b = GetSettingString(kMachine, section.c_str(), nullptr, "AmdisPath", "xxx");
        if (a == b)
            WriteSettingString(kMachine, section.c_str(), nullptr, "AmdisPath", AmdisPath.c_str());
    }
}

void CDialogOptions::accept()
{
    if (!StoreControls())
        return;
    try {
        WriteSettings();
    } catch (const CUserException&) {
        return;
    }
    QDialog::accept();
}

} // namespace corvelin
