#include "gui/pages/PageChromatogramAdd.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/widgets/QtText.h"
#include "engine/workflow/BatchExitCode.h"
#include "engine/core/Exceptions.h"
#include "engine/core/LibraryChromatogram.h"
#include "gui/options/ParameterFileDialogs.h"
#include "engine/options/SearchOptions.h"
#include "gui/options/SearchOptionsUI.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "gui/pages/ChromatogramBrowse.h"
#include "gui/widgets/DataExchange.h"
#include "gui/widgets/FileDialogs.h"
#include "gui/widgets/WaitCursor.h"
#include "engine/workflow/Conversion.h"

namespace corvelin {

CPageChromatogramAdd::CPageChromatogramAdd(CSearchOptions& options, QWidget* parent)
    : CMainPage(options, QStringLiteral("Add Chromatogram"), parent)
{
    auto* fileBox = new QGroupBox(QStringLiteral("Chromatogram"), this);
    auto* grid = new QGridLayout(fileBox);
    m_fileEdit = new QLineEdit(fileBox);
    auto* browse = new QPushButton(QStringLiteral("Browse"), fileBox);
    grid->addWidget(new QLabel(QStringLiteral("Chromatogram file:"), fileBox), 0, 0);
    grid->addWidget(m_fileEdit, 0, 1, 1, 4);
    grid->addWidget(browse, 0, 5);
    m_minAreaBox = new QCheckBox(QStringLiteral("Minimum  peak area %"), fileBox);
    m_minAreaEdit = new QLineEdit(fileBox);
    m_minAreaEdit->setMaximumWidth(80);
    m_convertAllBox = new QCheckBox(QStringLiteral("Convert all chromatograms in folder"), fileBox);
    grid->addWidget(m_minAreaBox, 1, 0);
    grid->addWidget(m_minAreaEdit, 1, 1, Qt::AlignLeft);
    grid->addWidget(m_convertAllBox, 1, 2, 1, 2);
    auto* buttons = new QHBoxLayout;
    auto* display = new QPushButton(QStringLiteral("just display"), fileBox);
    auto* convert = new QPushButton(QStringLiteral("Display && Convert"), fileBox);
    auto* calibration = new QPushButton(QStringLiteral("RI Calibration ..."), fileBox);
    auto* open = new QPushButton(fileBox);
    open->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    open->setToolTip(QStringLiteral("Open search parameter file"));
    buttons->addWidget(display);
    buttons->addWidget(convert);
    buttons->addStretch(1);
    buttons->addWidget(calibration);
    buttons->addWidget(open);
    grid->addLayout(buttons, 2, 0, 1, 6);

    auto* infoBox = new QGroupBox(QStringLiteral("File Information"), this);
    auto* infoLayout = new QVBoxLayout(infoBox);
    m_tree = new QTreeWidget(infoBox);
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);
    infoLayout->addWidget(m_tree);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fileBox);
    layout->addWidget(infoBox, 1);

    connect(browse, &QPushButton::clicked, this, &CPageChromatogramAdd::OnBrowse);
    connect(display, &QPushButton::clicked, this, &CPageChromatogramAdd::OnJustDisplay);
    connect(convert, &QPushButton::clicked, this, &CPageChromatogramAdd::OnDisplayAndConvert);
    connect(m_minAreaBox, &QCheckBox::clicked, this, &CPageChromatogramAdd::OnMinAreaClicked);
    connect(calibration, &QPushButton::clicked, this, &CPageChromatogramAdd::OnRICalibration);
    connect(open, &QPushButton::clicked, this, &CPageChromatogramAdd::OnOpenParameters);

    RefreshControls();
    // The field's enabled state follows the switch only after the switch was clicked.
    m_minAreaEdit->setEnabled(true);
}

bool CPageChromatogramAdd::StoreControls()
{
    DataFile = ToStdString(m_fileEdit->text());
    ExchangeCheck(true, m_minAreaBox, MinAreaOn);
    if (!ExchangeReal(true, m_minAreaEdit, MinArea, 0.0, 100.0, "%g"))
        return false;
    ExchangeCheck(true, m_convertAllBox, ConvertAll);
    return true;
}

void CPageChromatogramAdd::RefreshControls()
{
    m_fileEdit->setText(ToQString(DataFile));
    ExchangeCheck(false, m_minAreaBox, MinAreaOn);
    ExchangeReal(false, m_minAreaEdit, MinArea, 0.0, 100.0, "%g");
    ExchangeCheck(false, m_convertAllBox, ConvertAll);
}

void CPageChromatogramAdd::OnMinAreaClicked()
{
    StoreControls();
    m_minAreaEdit->setEnabled(MinAreaOn != 0);
}

void CPageChromatogramAdd::OnBrowse()
{
    if (!StoreControls())
        return;
    BrowseChromatogram(this, FolderOfPath(ToQString(DataFile)), InputUse::ConversionBrowse, m_options,
                       [this](const std::string& path, const CLibraryChromatogram&, const CInputRead&) {
                           DataFile = path;
                           RefreshControls();
                           return true;
                       });
}

void CPageChromatogramAdd::ShowTree(const std::vector<CInfoLine>& lines)
{
    m_tree->clear();
    std::vector<QTreeWidgetItem*> parents;
    for (const CInfoLine& line : lines) {
        const std::size_t depth = static_cast<std::size_t>(std::max(line.Depth, 0));
        parents.resize(std::min(parents.size(), depth));
        QTreeWidgetItem* item = parents.empty() ? new QTreeWidgetItem(m_tree) : new QTreeWidgetItem(parents.back());
        item->setText(0, ToQString(line.Text));
        item->setExpanded(line.Expanded);
        parents.push_back(item);
    }
    // Items expanded before their parents were: expand again now that the tree is complete.
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        if ((*it)->isExpanded())
            (*it)->setExpanded(true);
}

std::vector<std::string> CPageChromatogramAdd::TreeLines() const
{
    std::vector<std::string> lines;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        int depth = 0;
        for (QTreeWidgetItem* p = (*it)->parent(); p; p = p->parent())
            ++depth;
        lines.push_back(std::string(static_cast<std::size_t>(depth), ' ') + ToStdString((*it)->text(0)));
    }
    return lines;
}

void CPageChromatogramAdd::OnJustDisplay()
{
    if (!StoreControls())
        return;
    m_tree->clear();
    CWaitCursor wait;
    CInfoTree tree;
    DisplayChromatogram(DataFile, MinAreaInEffect(), m_options, tree);
    ShowTree(tree);
}

void CPageChromatogramAdd::OnDisplayAndConvert()
{
    if (!StoreControls())
        return;
    CWaitCursor wait;
    m_tree->clear();
    CInfoTree tree;
    const bool converted = DisplayAndConvert(DataFile, MinAreaInEffect(), ConvertAll != 0, m_options, tree);
    BatchResult = converted ? kExitOk : kExitConversionFailed;
    ShowTree(tree);
}

void CPageChromatogramAdd::OnRICalibration()
{
    if (!StoreControls())
        return;
    if (CSearchOptionsUI::Edit(this, QStringLiteral("RI Calibration"), m_options, {CSearchOptionsUI::RICalibration}))
        RefreshControls();
}

void CPageChromatogramAdd::OnOpenParameters()
{
    StoreControls();
    if (ReadParameterFileDialog(this, m_options) == QDialog::Accepted)
        RefreshControls();
}

void CPageChromatogramAdd::OnWindowCreated()
{
    if (BatchConvert && !DataFile.empty())
        QTimer::singleShot(333, this, [this] {
            OnDisplayAndConvert();
            if (IPageHost* host = Host())
                host->EndWithoutQuestions();
        });
}

} // namespace corvelin
