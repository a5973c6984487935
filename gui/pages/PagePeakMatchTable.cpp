#include "gui/pages/PagePeakMatchTable.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <memory>

#include "engine/core/Exceptions.h"
#include "engine/options/SearchOptions.h"
#include "engine/options/ProgramOptions.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/workflow/NistExport.h"
#include "gui/options/ParameterFileDialogs.h"
#include "gui/options/SearchOptionsUI.h"
#include "gui/pages/LatestJob.h"
#include "gui/widgets/FileDialogs.h"
#include "gui/widgets/OdorListCtrl.h"
#include "gui/widgets/QtText.h"
#include "gui/widgets/WaitCursor.h"
#include "gui/widgets/IconButton.h"

namespace corvelin {

namespace {

constexpr const char* kCsvFilter = "CSV-Files (*.csv)|*.csv|All Files (*.*)|*.*||";

} // namespace

CPagePeakMatchTable::CPagePeakMatchTable(CSearchOptions& options, QWidget* parent)
    : CMainPage(options, QStringLiteral("Peak Match Table"), parent)
{
    auto* files = new QGroupBox(QStringLiteral("Chromatograms to compare"), this);
    auto* grid = new QGridLayout(files);
    m_thisEdit = new QLineEdit(files);
    m_otherEdit = new QLineEdit(files);
    auto* browseThis = new QPushButton(QStringLiteral("Browse"), files);
    auto* browseOther = new QPushButton(QStringLiteral("Browse"), files);
    grid->addWidget(new QLabel(QStringLiteral("\"This\" chromatogram:"), files), 0, 0);
    grid->addWidget(m_thisEdit, 0, 1);
    grid->addWidget(browseThis, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("\"Other\" chromatogram:"), files), 1, 0);
    grid->addWidget(m_otherEdit, 1, 1);
    grid->addWidget(browseOther, 1, 2);

    m_ms = new QCheckBox(QStringLiteral("MS matching"), this);
    m_rt = new QCheckBox(QStringLiteral("RT matching"), this);
    m_ri = new QCheckBox(QStringLiteral("RI matching"), this);
    m_area = new QCheckBox(QStringLiteral("Area matching"), this);
    m_height = new QCheckBox(QStringLiteral("Height matching"), this);
    auto* advanced = new QPushButton(QStringLiteral("advanced ..."), this);
    auto* open = IconButton(this, QStyle::SP_DialogOpenButton, QStringLiteral("Open search parameter file"));
    auto* save = IconButton(this, QStyle::SP_DialogSaveButton, QStringLiteral("Save search parameter file"));
    auto* switches = new QHBoxLayout;
    for (QCheckBox* box : {m_ms, m_rt, m_ri, m_area, m_height})
        switches->addWidget(box);
    switches->addStretch(1);
    switches->addWidget(advanced);
    switches->addWidget(open);
    switches->addWidget(save);

    m_build = new QPushButton(QStringLiteral("Build Peak Match Table"), this);
    m_build->setDefault(true);
    m_export = new QPushButton(QStringLiteral("CSV-Export"), this);
    m_export->setEnabled(false);
    auto* commands = new QHBoxLayout;
    commands->addWidget(m_build);
    commands->addStretch(1);
    commands->addWidget(m_export);

    m_list = new COdorListCtrl(this);
    m_list->SetEmptyText(kPeakMatchEmptyText);
    m_list->SetArrangementSection(kPeakMatchSection);
    m_list->Table().InsertColumn(" ", 250, ColumnAlign::Center);
    m_list->SyncHeader();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(files);
    layout->addLayout(switches);
    layout->addLayout(commands);
    layout->addWidget(m_list, 1);

    connect(browseThis, &QPushButton::clicked, this, &CPagePeakMatchTable::OnBrowseThis);
    connect(browseOther, &QPushButton::clicked, this, &CPagePeakMatchTable::OnBrowseOther);
    m_buildJob = new CLatestJob(this);
    BindBuildButton(
        *m_build, *m_buildJob, [this] { OnBuild(); }, [this] { OnStop(); });
    // The export waits for the build; afterwards it exports whatever table the page shows.
    connect(m_buildJob, &CLatestJob::busyChanged, this,
            [this](bool busy) { m_export->setEnabled(!busy && m_model.HasBuilt()); });
    connect(m_export, &QPushButton::clicked, this, &CPagePeakMatchTable::OnCsvExport);
    connect(advanced, &QPushButton::clicked, this, &CPagePeakMatchTable::OnAdvanced);
    connect(open, &QPushButton::clicked, this, &CPagePeakMatchTable::OnOpenParameters);
    connect(save, &QPushButton::clicked, this, &CPagePeakMatchTable::OnSaveParameters);
    connect(m_list, &COdorListCtrl::columnHeaderClicked, this, &CPagePeakMatchTable::OnColumnClick);
    connect(m_list, &COdorListCtrl::contextMenuAt, this, [this](const QPoint& globalPos) {
        const QModelIndex index = m_list->indexAt(m_list->viewport()->mapFromGlobal(globalPos));
        std::unique_ptr<QMenu> menu(
            CreateContextMenu(index.isValid() ? index.row() : -1, index.isValid() ? index.column() : -1));
        menu->exec(globalPos);
    });
    RefreshControls();
}

CPagePeakMatchTable::~CPagePeakMatchTable()
{
    // A build hands its table to this page: stop it and wait for it before anything goes away.
    delete m_buildJob;
}

bool CPagePeakMatchTable::StoreControls()
{
    ThisPath = ToStdString(m_thisEdit->text());
    OtherPath = ToStdString(m_otherEdit->text());
    m_options.MSMatching = m_ms->isChecked();
    m_options.RTMatching = m_rt->isChecked();
    m_options.RIMatching = m_ri->isChecked();
    m_options.AreaMatching = m_area->isChecked();
    m_options.HeightMatching = m_height->isChecked();
    return true;
}

void CPagePeakMatchTable::RefreshControls()
{
    m_thisEdit->setText(ToQString(ThisPath));
    m_otherEdit->setText(ToQString(OtherPath));
    m_ms->setChecked(m_options.MSMatching != 0);
    m_rt->setChecked(m_options.RTMatching != 0);
    m_ri->setChecked(m_options.RIMatching != 0);
    m_area->setChecked(m_options.AreaMatching != 0);
    m_height->setChecked(m_options.HeightMatching != 0);
}

bool CPagePeakMatchTable::CanExportCsv() const
{
    return m_export->isEnabled();
}

void CPagePeakMatchTable::Browse(std::string& path)
{
    StoreControls();
    std::string filter;
    try {
        filter = DatasystemPlugins().BuildChromatogramFilter();
    } catch (const CUserException&) {
        return; // the plug-in list said why
    }
    const CFileChoiceResult choice = ChooseChromatogramFile(this, FolderOfPath(ToQString(path)), filter);
    if (choice.path.isEmpty())
        return;
    path = ToStdString(choice.path);
    RememberChromatogramFilter(choice.filterIndex);
    RefreshControls();
}

void CPagePeakMatchTable::SetPathsAndBuild(const std::string& thisPath, const std::string& otherPath)
{
    ThisPath = thisPath;
    OtherPath = otherPath;
    RefreshControls();
    OnBuild();
}

void CPagePeakMatchTable::OnBrowseThis()
{
    Browse(ThisPath);
}

void CPagePeakMatchTable::OnBrowseOther()
{
    Browse(OtherPath);
}

void CPagePeakMatchTable::OnBuild()
{
    StoreControls();
    const CPeakMatchTable::Outcome checked = CPeakMatchTable::Check(ThisPath, OtherPath, m_options);
    if (checked != CPeakMatchTable::Outcome::Built) {
        m_lastOutcome = checked;
        if (checked == CPeakMatchTable::Outcome::OpenOptions)
            OnAdvanced(); // OK there builds again
        return;
    }
    m_buildJob->Start([this, thisPath = ThisPath, otherPath = OtherPath,
                       options = CSearchOptions(m_options)](CJobWorker::CJob& job, const CLatestJob::Deliver& deliver) {
        auto compared = std::make_shared<CPeakMatchTable::CCompared>();
        CPeakMatchTable::Outcome outcome = CPeakMatchTable::Outcome::Stopped;
        try {
            outcome = CPeakMatchTable::ReadAndCompare(thisPath, otherPath, options, *compared, &job.Running());
        } catch (const std::exception&) {
            outcome = CPeakMatchTable::Outcome::Unreadable;
        }
        deliver([this, compared, outcome, options] {
            m_lastOutcome = outcome;
            if (outcome == CPeakMatchTable::Outcome::Built)
                ShowBuilt(std::move(*compared), options);
        });
    });
}

void CPagePeakMatchTable::ShowBuilt(CPeakMatchTable::CCompared compared, const CSearchOptions& options)
{
    // The rows show the factors of the options the pair was compared with.
    m_list->SuspendRedraw();
    m_model.Show(std::move(compared), options, m_list->Table());
    m_list->SyncHeader();
    m_list->FitColumnsToContent();
    m_list->MarkSortColumns({});
    m_list->ResumeRedraw();
    m_export->setEnabled(true);
}

void CPagePeakMatchTable::OnStop()
{
    m_lastOutcome = CPeakMatchTable::Outcome::Stopped;
    m_buildJob->Stop();
}

bool CPagePeakMatchTable::IsBusy() const noexcept
{
    return m_buildJob->IsBusy();
}

void CPagePeakMatchTable::OnCsvExport()
{
    if (!m_model.HasBuilt())
        return;
    StoreControls();
    const std::string name = PeakMatchCsvFileName(m_model.This().SourcePath, m_model.Other().SourcePath);
    if (name.empty())
        return;
    CFileChoice request;
    request.kind = CFileChoice::Save;
    request.initialFolder = ToQString(LoadSaveFolder(SaveFolder::PeakMatchExport));
    request.initialFile = ToQString(name);
    request.filter = kCsvFilter;
    request.filterIndex = 1;
    request.defaultSuffix = QStringLiteral("CSV");
    const CFileChoiceResult choice = ChooseFile(this, request);
    if (choice.path.isEmpty())
        return;
    CWaitCursor wait;
    WritePeakMatchCsv(ToStdString(choice.path), m_model.This(), m_model.Other(), m_options, m_list->Table());
}

void CPagePeakMatchTable::OnAdvanced()
{
    StoreControls();
    if (!CSearchOptionsUI::Edit(this, QStringLiteral("Compare Options"), m_options,
                                {CSearchOptionsUI::Basic, CSearchOptionsUI::MassSpec, CSearchOptionsUI::RICalibration}))
        return;
    RefreshControls();
    if (!ThisPath.empty() && !OtherPath.empty())
        OnBuild();
}

void CPagePeakMatchTable::OnOpenParameters()
{
    StoreControls();
    if (ReadParameterFileDialog(this, m_options) == QDialog::Accepted)
        RefreshControls();
}

void CPagePeakMatchTable::OnSaveParameters()
{
    StoreControls();
    WriteParameterFileDialog(this, m_options);
}

void CPagePeakMatchTable::OnColumnClick(int column)
{
    if (!m_model.HasBuilt())
        return;
    CWaitCursor wait;
    m_list->SuspendRedraw();
    SortPeakMatchTable(m_list->Table(), column);
    m_list->MarkSortColumns(m_list->Table().SortKey(0));
    m_list->ResumeRedraw();
}

void CPagePeakMatchTable::OnColumnArrangement()
{
    m_list->OpenArrangementDialog(kPeakMatchSection);
}

QMenu* CPagePeakMatchTable::CreateContextMenu(int row, int column)
{
    m_menuRow = row;
    m_menuColumn = column;
    const bool other = column >= PeakMatchColumn::OtherRT;
    auto* menu = new QMenu(this);
    QAction* nist = menu->addAction(other ? QStringLiteral("Search \"Other\" peak in NIST ...")
                                          : QStringLiteral("Search \"This\" peak in NIST ..."));
    QAction* add = menu->addAction(other ? QStringLiteral("Add \"Other\" peak to MS search options")
                                         : QStringLiteral("Add \"This\" peak to MS search options"));
    const bool hasPeak = m_model.PeakOfRow(m_list->Table(), row, column) != nullptr;
    nist->setEnabled(hasPeak);
    add->setEnabled(hasPeak);
    connect(nist, &QAction::triggered, this, &CPagePeakMatchTable::OnSearchPeakInNist);
    connect(add, &QAction::triggered, this, &CPagePeakMatchTable::OnAddPeakToSearchOptions);
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("Column arrangement ...")), &QAction::triggered, this,
            &CPagePeakMatchTable::OnColumnArrangement);
    return menu;
}

void CPagePeakMatchTable::OnSearchPeakInNist()
{
    const CLibraryChromatogramPeakData* peak = m_model.PeakOfRow(m_list->Table(), m_menuRow, m_menuColumn);
    if (!peak)
        return;
    CWaitCursor wait;
    SearchInNist(peak->Spectrum, m_model.PeakLabel(m_menuRow, m_menuColumn, m_list->Table()),
                 m_model.SideOf(m_menuColumn).SampleName);
}

void CPagePeakMatchTable::OnAddPeakToSearchOptions()
{
    const CLibraryChromatogramPeakData* peak = m_model.PeakOfRow(m_list->Table(), m_menuRow, m_menuColumn);
    if (!peak)
        return;
    m_options.AddSpectrum(m_model.PeakLabel(m_menuRow, m_menuColumn, m_list->Table()), peak->Spectrum, false);
}

} // namespace corvelin
