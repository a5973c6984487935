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
#include "engine/platform/MessageSink.h"
#include "gui/widgets/DataExchange.h"
#include "gui/widgets/FileDialogs.h"

namespace corvelin {

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return QString::compare(ToQString(a), ToQString(b), Qt::CaseInsensitive) == 0;
}

} // namespace

CDialogOptions::CDialogOptions(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Options"));

    Values = CProgramOptions::Load();
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

bool CDialogOptions::Run(QWidget* parent)
{
    try {
        CDialogOptions dialog(parent);
        return dialog.exec() == QDialog::Accepted;
    } catch (const CUserException&) {
        return false; // the message was shown; the dialog is not opened
    }
}

bool CDialogOptions::StoreControls()
{
    // The field exchange order decides which message comes first.
    if (!ExchangeInt(true, m_top, Values.PageLayout.BorderTop, 0, INT_MAX) ||
        !ExchangeInt(true, m_bottom, Values.PageLayout.BorderBottom, 0, INT_MAX) ||
        !ExchangeInt(true, m_left, Values.PageLayout.BorderLeft, 0, INT_MAX) ||
        !ExchangeInt(true, m_right, Values.PageLayout.BorderRight, 0, INT_MAX))
        return false;
    ExchangeText(true, m_fontName, Values.PageLayout.FontName);
    ExchangeCheck(true, m_printSearch, Values.PageLayout.PrintSearchOptions);
    if (!ExchangeInt(true, m_maxPeaks, Values.MaxPeaks, 1, 5000) ||
        !ExchangeInt(true, m_minSize, Values.MatrixDisplay.MinSize, 1, INT_MAX) ||
        !ExchangeInt(true, m_sizeRange, Values.MatrixDisplay.SizeRange, 1, INT_MAX) ||
        !ExchangeInt(true, m_fontSize, Values.PageLayout.BaseFontSize, INT_MIN, INT_MAX))
        return false;
    ExchangeCheck(true, m_showAdd, Values.Shown(OptionalPage::ChromatogramAdd));
    ExchangeCheck(true, m_showReport, Values.Shown(OptionalPage::MassSpecReport));
    ExchangeCheck(true, m_showOverlay, Values.Shown(OptionalPage::OverlayPlot));
    ExchangeCheck(true, m_showMatchPlot, Values.Shown(OptionalPage::ChromatogramMatch));
    ExchangeText(true, m_amdisPath, AmdisPath);
    ExchangeCheck(true, m_showPeakTable, Values.Shown(OptionalPage::PeakMatchTable));
    return true;
}

void CDialogOptions::RefreshControls()
{
    ExchangeInt(false, m_top, Values.PageLayout.BorderTop, 0, 0);
    ExchangeInt(false, m_bottom, Values.PageLayout.BorderBottom, 0, 0);
    ExchangeInt(false, m_left, Values.PageLayout.BorderLeft, 0, 0);
    ExchangeInt(false, m_right, Values.PageLayout.BorderRight, 0, 0);
    ExchangeText(false, m_fontName, Values.PageLayout.FontName);
    ExchangeCheck(false, m_printSearch, Values.PageLayout.PrintSearchOptions);
    ExchangeInt(false, m_maxPeaks, Values.MaxPeaks, 0, 0);
    ExchangeInt(false, m_minSize, Values.MatrixDisplay.MinSize, 0, 0);
    ExchangeInt(false, m_sizeRange, Values.MatrixDisplay.SizeRange, 0, 0);
    ExchangeInt(false, m_fontSize, Values.PageLayout.BaseFontSize, 0, 0);
    ExchangeCheck(false, m_showAdd, Values.Shown(OptionalPage::ChromatogramAdd));
    ExchangeCheck(false, m_showReport, Values.Shown(OptionalPage::MassSpecReport));
    ExchangeCheck(false, m_showOverlay, Values.Shown(OptionalPage::OverlayPlot));
    ExchangeCheck(false, m_showMatchPlot, Values.Shown(OptionalPage::ChromatogramMatch));
    ExchangeText(false, m_amdisPath, AmdisPath);
    ExchangeCheck(false, m_showPeakTable, Values.Shown(OptionalPage::PeakMatchTable));
}

void CDialogOptions::ApplyChosenFont(const QString& family, double pointSize)
{
    Values.PageLayout.FontName = ToStdString(family.left(32));
    Values.PageLayout.BaseFontSize = static_cast<int>(pointSize); // tenths of a point / 10, remainder dropped
    RefreshControls();
}

void CDialogOptions::OnChooseFont()
{
    if (!StoreControls())
        return;
    QFont initial(ToQString(Values.PageLayout.FontName).left(32));
    initial.setPointSize(Values.PageLayout.BaseFontSize > 0 ? Values.PageLayout.BaseFontSize : 10);
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
    Values.Write();
    WriteAmdisPath(AmdisPath);
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
