#include "gui/pages/MassSpecReport.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <memory>

#include "engine/core/Exceptions.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/platform/TextFile.h"
#include "gui/pages/ChromatogramBrowse.h"
#include "engine/views/MassSpecReport.h"
#include "gui/options/ParameterFileDialogs.h"
#include "gui/options/SearchOptionsUI.h"
#include "gui/print/MassSpecReportPrinter.h"
#include "gui/widgets/FileDialogs.h"
#include "gui/widgets/OdorListCtrl.h"
#include "gui/widgets/QtText.h"
#include "gui/widgets/WaitCursor.h"

namespace corvelin {

CMassSpecReport::CMassSpecReport(CSearchOptions& options, QWidget* parent)
    : CMainPage(options, QStringLiteral("Mass Spec Match Report"), parent)
{
    auto* grid = new QGridLayout;
    m_pathEdit = new QLineEdit(this);
    auto* browse = new QPushButton(QStringLiteral("Browse"), this);
    m_sampleLabel = new QLabel(this);
    m_dataSystemLabel = new QLabel(this);
    for (QLabel* label : {m_sampleLabel, m_dataSystemLabel})
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(new QLabel(QStringLiteral("Chromatogram:"), this), 0, 0);
    grid->addWidget(m_pathEdit, 0, 1, 1, 3);
    grid->addWidget(browse, 0, 4);
    grid->addWidget(new QLabel(QStringLiteral("Sample:"), this), 1, 0);
    grid->addWidget(m_sampleLabel, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Data system:"), this), 1, 2);
    grid->addWidget(m_dataSystemLabel, 1, 3, 1, 2);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 1);

    auto* report = new QPushButton(QStringLiteral("Report"), this);
    report->setDefault(true);
    auto* advanced = new QPushButton(QStringLiteral("advanced ..."), this);
    auto* open = new QPushButton(this);
    open->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    open->setToolTip(QStringLiteral("Open search parameter file"));
    m_export = new QPushButton(QStringLiteral("CSV-Export"), this);
    m_print = new QPushButton(QStringLiteral("Print ..."), this);
    m_export->setEnabled(false);
    m_print->setEnabled(false);
    auto* commands = new QHBoxLayout;
    commands->addWidget(report);
    commands->addWidget(m_export);
    commands->addWidget(m_print);
    commands->addStretch(1);
    commands->addWidget(advanced);
    commands->addWidget(open);

    m_list = new COdorListCtrl(this);
    SetUpMassSpecReportColumns(m_list->Table());
    m_list->SetEmptyText(kMassSpecReportEmptyText);
    m_list->ApplyStoredArrangement(kMassSpecReportSection);
    m_list->SetArrangementSection(kMassSpecReportSection);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(commands);
    layout->addWidget(m_list, 1);

    connect(browse, &QPushButton::clicked, this, &CMassSpecReport::OnBrowse);
    connect(report, &QPushButton::clicked, this, &CMassSpecReport::OnReport);
    connect(advanced, &QPushButton::clicked, this, &CMassSpecReport::OnAdvanced);
    connect(m_export, &QPushButton::clicked, this, &CMassSpecReport::OnCsvExport);
    connect(m_print, &QPushButton::clicked, this, &CMassSpecReport::OnPrint);
    connect(open, &QPushButton::clicked, this, &CMassSpecReport::OnOpenParameters);
    connect(m_list, &COdorListCtrl::contextMenuAt, this, [this](const QPoint& pos) {
        std::unique_ptr<QMenu> menu(CreateContextMenu());
        menu->exec(pos);
    });
    RefreshControls();
}

bool CMassSpecReport::StoreControls()
{
    Path = ToStdString(m_pathEdit->text());
    return true;
}

void CMassSpecReport::RefreshControls()
{
    m_pathEdit->setText(ToQString(Path));
    m_sampleLabel->setText(ToQString(SampleNameText));
    m_dataSystemLabel->setText(ToQString(DataSystemText));
}

void CMassSpecReport::OnBrowse()
{
    StoreControls();
    BrowseChromatogram(
        this, FolderOfPath(ToQString(Path)), InputUse::MassSpecBrowse, m_options,
        [this](const std::string& path, const CLibraryChromatogram& chromatogram, const CInputRead& read) {
            Path = path;
            SampleNameText = chromatogram.SampleName;
            DataSystemText = read.DataSystemName;
            RefreshControls();
            return true;
        });
}

void CMassSpecReport::OnReport()
{
    StoreControls();
    CWaitCursor wait;
    m_list->SuspendRedraw();
    CMassSpecReportSource source;
    m_built = BuildMassSpecReport(Path, m_options, m_list->Table(), &source) == MassSpecReportOutcome::Built;
    if (m_built) {
        m_reportedPath = Path;
        m_list->FitColumnsToContent();
        // A typed path shows (and prints) its sample name and data system as a browsed one does.
        SampleNameText = source.SampleName;
        DataSystemText = source.DataSystem;
        RefreshControls();
    }
    m_list->SyncHeader();
    m_list->ResumeRedraw();
    m_export->setEnabled(m_built);
    m_print->setEnabled(m_built);
}

QString CMassSpecReport::BesideChromatogram(const QString& suffix) const
{
    const QFileInfo info(ToQString(m_reportedPath));
    return info.dir().filePath(info.completeBaseName() + suffix);
}

void CMassSpecReport::OnCsvExport()
{
    if (!m_built)
        return;
    CFileChoice request;
    request.kind = CFileChoice::Save;
    const QFileInfo proposed(BesideChromatogram(QStringLiteral(" MS Match Report.CSV")));
    request.initialFolder = proposed.absolutePath();
    request.initialFile = proposed.fileName();
    request.filter = "CSV-Files (*.csv)|*.csv|All Files (*.*)|*.*||";
    request.filterIndex = 1;
    request.defaultSuffix = QStringLiteral("CSV");
    const CFileChoiceResult choice = ChooseFile(this, request);
    if (choice.path.isEmpty())
        return;
    CWaitCursor wait;
    try {
        WriteTextFile(ToStdString(choice.path), MassSpecReportCsvText(m_list->Table()));
    } catch (const std::exception& e) {
        Messages().ShowMessage("Could not write " + ToStdString(choice.path) + ":\n" + e.what(), "Corvelinscope",
                               MessageIcon::Exclamation);
    }
}

void CMassSpecReport::OnPrint()
{
    if (!m_built)
        return;
    const CMassSpecReportTexts texts{m_reportedPath, SampleNameText, DataSystemText};
    PrintMassSpecReport(this, texts, m_list->Table(), BesideChromatogram(QStringLiteral(" MS Match Report.pdf")));
}

void CMassSpecReport::OnAdvanced()
{
    StoreControls();
    if (CSearchOptionsUI::Edit(this, QStringLiteral("Search Options"), m_options,
                               {CSearchOptionsUI::Basic, CSearchOptionsUI::MassSpec, CSearchOptionsUI::RICalibration}))
        RefreshControls();
}

void CMassSpecReport::OnOpenParameters()
{
    StoreControls();
    if (ReadParameterFileDialog(this, m_options) == QDialog::Accepted)
        RefreshControls();
}

void CMassSpecReport::OnColumnArrangement()
{
    m_list->OpenArrangementDialog(kMassSpecReportSection);
}

QMenu* CMassSpecReport::CreateContextMenu()
{
    auto* menu = new QMenu(this);
    connect(menu->addAction(QStringLiteral("Column arrangement ...")), &QAction::triggered, this,
            &CMassSpecReport::OnColumnArrangement);
    return menu;
}

} // namespace corvelin
