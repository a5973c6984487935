#include "gui/pages/PageLibrarySearch.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/widgets/QtText.h"
#include "engine/platform/TextFile.h"
#include "engine/workflow/BatchExitCode.h"
#include "engine/workflow/commands/SearchJob.h"
#include "engine/workflow/commands/StdioJobSink.h"
#include "engine/workflow/LibraryFolderCheck.h"
#include "engine/core/Exceptions.h"
#include "engine/core/LibraryChromatogram.h"
#include "gui/options/ParameterFileDialogs.h"
#include "engine/options/ProgramOptions.h"
#include "engine/options/SearchOptions.h"
#include "gui/options/SearchOptionsUI.h"
#include "gui/pages/ChromatogramBrowse.h"
#include "gui/pages/JobWorker.h"
#include "gui/pages/PagePlaceholder.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "gui/print/LibrarySearchReportPrinter.h"
#include "engine/table/ColumnArrangement.h"
#include "gui/widgets/FileDialogs.h"
#include "gui/widgets/FolderPicker.h"
#include "gui/widgets/OdorListCtrl.h"
#include "gui/widgets/WaitCursor.h"
#include "gui/widgets/IconButton.h"
#include "engine/workflow/HitList.h"
#include "engine/workflow/LibrarySearch.h"
#include "engine/workflow/SearchReport.h"

namespace corvelin {

namespace {

// The search half of the batch program's job, run for the window: the window shows the hit list and its texts, so
// the job's listing and notes stay here (the batch end's notes go to standard error as the batch program's do).
class CWindowJobSink final : public CJobSink {
public:
    bool Output(const std::string&) override { return true; }
    bool FlushOutput() override { return true; }
    void Note(const std::string&) override {}
};

constexpr std::size_t kEntryEndingLength = 14; // ".ChromLibEntry"

} // namespace

CPageLibrarySearch::CPageLibrarySearch(CSearchOptions& options, QWidget* parent)
    : CMainPage(options, QStringLiteral("Library Search"), parent)
{
    // Unknown chromatogram.
    auto* unknownBox = new QGroupBox(QStringLiteral("Unknown chromatogram file to search in library:"), this);
    auto* unknownGrid = new QGridLayout(unknownBox);
    m_unknownEdit = new QLineEdit(unknownBox);
    m_browse = new QPushButton(QStringLiteral("Browse"), unknownBox);
    unknownGrid->addWidget(m_unknownEdit, 0, 0, 1, 6);
    unknownGrid->addWidget(m_browse, 0, 6);
    m_peakCountLabel = new QLabel(unknownBox);
    m_sampleNameLabel = new QLabel(unknownBox);
    m_dataSystemLabel = new QLabel(unknownBox);
    for (QLabel* label : {m_peakCountLabel, m_sampleNameLabel, m_dataSystemLabel}) {
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setMinimumWidth(60);
    }
    unknownGrid->addWidget(new QLabel(QStringLiteral("Peaks:"), unknownBox), 1, 0);
    unknownGrid->addWidget(m_peakCountLabel, 1, 1);
    unknownGrid->addWidget(new QLabel(QStringLiteral("Sample:"), unknownBox), 1, 2);
    unknownGrid->addWidget(m_sampleNameLabel, 1, 3);
    unknownGrid->addWidget(new QLabel(QStringLiteral("Data system:"), unknownBox), 1, 4);
    unknownGrid->addWidget(m_dataSystemLabel, 1, 5, 1, 2);
    unknownGrid->setColumnStretch(3, 2);
    unknownGrid->setColumnStretch(5, 1);

    // Library and switches.
    auto* libraryBox = new QGroupBox(QStringLiteral("Library"), this);
    auto* libraryGrid = new QGridLayout(libraryBox);
    m_folderEdit = new QLineEdit(libraryBox);
    m_folderButton = new QPushButton(QStringLiteral("..."), libraryBox);
    m_folderButton->setMaximumWidth(36);
    libraryGrid->addWidget(new QLabel(QStringLiteral("Library folder:"), libraryBox), 0, 0);
    libraryGrid->addWidget(m_folderEdit, 0, 1, 1, 6);
    libraryGrid->addWidget(m_folderButton, 0, 7);
    m_ms = new QCheckBox(QStringLiteral("MS matching"), libraryBox);
    m_rt = new QCheckBox(QStringLiteral("RT matching"), libraryBox);
    m_ri = new QCheckBox(QStringLiteral("RI matching"), libraryBox);
    m_area = new QCheckBox(QStringLiteral("Area matching"), libraryBox);
    m_height = new QCheckBox(QStringLiteral("Height matching"), libraryBox);
    m_subfolders = new QCheckBox(QStringLiteral("Search Subfolders"), libraryBox);
    auto* switches = new QHBoxLayout;
    for (QCheckBox* box : {m_ms, m_rt, m_ri, m_area, m_height, m_subfolders})
        switches->addWidget(box);
    switches->addStretch(1);
    m_advanced = new QPushButton(QStringLiteral("advanced ..."), libraryBox);
    m_open = IconButton(libraryBox, QStyle::SP_DialogOpenButton, QStringLiteral("Open search parameter file"));
    m_save = IconButton(libraryBox, QStyle::SP_DialogSaveButton, QStringLiteral("Save search parameter file"));
    switches->addWidget(m_advanced);
    switches->addWidget(m_open);
    switches->addWidget(m_save);
    libraryGrid->addLayout(switches, 1, 0, 1, 8);

    // Search row.
    m_search = new QPushButton(QStringLiteral("Search"), this);
    m_search->setDefault(true);
    m_stop = new QPushButton(QStringLiteral("Stop Search"), this);
    m_progress = new QProgressBar(this);
    m_progress->setTextVisible(true);
    m_saveList = new QPushButton(QStringLiteral("Save hit list"), this);
    m_printList = new QPushButton(QStringLiteral("Print hit list"), this);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(m_search);
    searchRow->addWidget(m_stop);
    searchRow->addWidget(m_progress, 1);
    searchRow->addStretch(0);
    searchRow->addWidget(m_saveList);
    searchRow->addWidget(m_printList);

    m_list = new COdorListCtrl(this);
    InsertColumns();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(unknownBox);
    layout->addWidget(libraryBox);
    layout->addLayout(searchRow);
    layout->addWidget(m_list, 1);

    connect(m_browse, &QPushButton::clicked, this, &CPageLibrarySearch::OnBrowse);
    connect(m_folderButton, &QPushButton::clicked, this, &CPageLibrarySearch::OnChooseFolder);
    connect(m_search, &QPushButton::clicked, this, &CPageLibrarySearch::OnSearch);
    connect(m_stop, &QPushButton::clicked, this, &CPageLibrarySearch::OnStopSearch);
    connect(m_advanced, &QPushButton::clicked, this, &CPageLibrarySearch::OnAdvanced);
    connect(m_open, &QPushButton::clicked, this, &CPageLibrarySearch::OnOpenParameters);
    connect(m_save, &QPushButton::clicked, this, &CPageLibrarySearch::OnSaveParameters);
    connect(m_saveList, &QPushButton::clicked, this, &CPageLibrarySearch::OnSaveReportFile);
    connect(m_printList, &QPushButton::clicked, this, &CPageLibrarySearch::OnPrintHitList);
    connect(m_list, &COdorListCtrl::columnHeaderClicked, this, &CPageLibrarySearch::OnColumnClick);
    connect(m_list, &COdorListCtrl::rowDoubleClicked, this, &CPageLibrarySearch::OnDoubleClick);
    connect(m_list, &COdorListCtrl::contextMenuAt, this, [this](const QPoint& pos) {
        const std::unique_ptr<QMenu> menu = CreateContextMenu();
        menu->exec(pos);
    });

    m_pollTimer = new QTimer(this);
    m_pollTimer->setInterval(500);
    connect(m_pollTimer, &QTimer::timeout, this, &CPageLibrarySearch::OnBatchPoll);
    m_okTimer = new QTimer(this);
    m_okTimer->setInterval(500);
    connect(m_okTimer, &QTimer::timeout, this, [this] {
        // Only the first click is sent: a second one would open a second exit question while the first waits.
        m_okTimer->stop();
        if (IPageHost* host = Host())
            host->PostOk();
    });

    m_worker = new CJobWorker(this);
    connect(m_worker, &CJobWorker::progress, m_progress, &QProgressBar::setValue);
    connect(m_worker, &CJobWorker::finished, this, &CPageLibrarySearch::OnSearchFinished);

    Session.LibraryFolder = LoadLastSearchedFolder();
    SetSearchingState(false);
    RefreshControls();
}

CPageLibrarySearch::~CPageLibrarySearch()
{
    // The search reports to this page: stop it and wait for it before anything goes away.
    delete m_worker;
}

void CPageLibrarySearch::InsertColumns()
{
    SetUpHitListColumns(m_list->Table());
    m_list->SetArrangementSection(kLibrarySearchSection);
    m_list->SyncHeader();
    m_list->FitColumnsToContent(); // the headers read whole before the first search
    m_list->SetEmptyText(kHitListIdleText);
}

bool CPageLibrarySearch::CanPrintHitList() const
{
    return !IsRunning() && m_list->Table().RowCount() > 0;
}

bool CPageLibrarySearch::StoreControls()
{
    Session.UnknownPath = ToStdString(m_unknownEdit->text());
    Session.LibraryFolder = ToStdString(m_folderEdit->text());
    m_options.MSMatching = m_ms->isChecked();
    m_options.RTMatching = m_rt->isChecked();
    m_options.RIMatching = m_ri->isChecked();
    m_options.AreaMatching = m_area->isChecked();
    m_options.HeightMatching = m_height->isChecked();
    m_options.SearchSubfolders = m_subfolders->isChecked();
    return true;
}

void CPageLibrarySearch::RefreshControls()
{
    m_unknownEdit->setText(ToQString(Session.UnknownPath));
    m_folderEdit->setText(ToQString(Session.LibraryFolder));
    m_ms->setChecked(m_options.MSMatching != 0);
    m_rt->setChecked(m_options.RTMatching != 0);
    m_ri->setChecked(m_options.RIMatching != 0);
    m_area->setChecked(m_options.AreaMatching != 0);
    m_height->setChecked(m_options.HeightMatching != 0);
    m_subfolders->setChecked(m_options.SearchSubfolders != 0);
    m_peakCountLabel->setText(ToQString(PeakCountText));
    m_sampleNameLabel->setText(ToQString(SampleNameText));
    m_dataSystemLabel->setText(ToQString(DataSystemText));
}

bool CPageLibrarySearch::CanLeave()
{
    if (!IsRunning())
        return true;
    Messages().Beep();
    return false;
}

void CPageLibrarySearch::SetSearchingState(bool searching)
{
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_browse, m_folderButton, m_search, m_advanced, m_open, m_save, m_ms, m_rt,
                                         m_ri, m_area, m_height, m_folderEdit, m_unknownEdit, m_subfolders})
        w->setEnabled(!searching);
    m_search->setVisible(!searching);
    m_saveList->setVisible(!searching);
    m_printList->setVisible(!searching);
    m_stop->setVisible(searching);
    m_stop->setEnabled(searching);
    m_progress->setVisible(searching);
}

void CPageLibrarySearch::OnBrowse()
{
    StoreControls();
    BrowseChromatogram(
        this, FolderOfPath(ToQString(Session.UnknownPath)), InputUse::SearchBrowse, m_options,
        [this](const std::string& path, const CLibraryChromatogram& chromatogram, const CInputRead& read) {
            Session.UnknownPath = path;
            PeakCountText = FormatC("%2i", chromatogram.PeakCount);
            SampleNameText = chromatogram.SampleName;
            DataSystemText = read.DataSystemName;
            RefreshControls();
            return true;
        });
}

void CPageLibrarySearch::OnChooseFolder()
{
    StoreControls();
    const QString folder = PickFolder(this, QStringLiteral("Please select a folder"), ToQString(Session.LibraryFolder));
    if (folder.isEmpty())
        return;
    Session.LibraryFolder = ToStdString(folder);
    RefreshControls();
}

void CPageLibrarySearch::OnSearch()
{
    if (IsRunning() || !StoreControls() || !PrepareLibraryFolder())
        return;
    WriteLastSearchedFolder(Session.LibraryFolder);
    RefreshControls();
    StartSearch();
}

bool CPageLibrarySearch::PrepareLibraryFolder()
{
    // An empty folder would become "/" and the search would walk the whole file system; a missing one would
    // give a report that looks like an empty library.
    if (!Session.PrepareLibraryFolder()) {
        Messages().ShowMessage("Please choose a library folder first.", "Corvelinscope", MessageIcon::Exclamation);
        return false;
    }
    if (const std::string problem = LibraryFolderProblem(Session.LibraryFolder); !problem.empty()) {
        Messages().ShowMessage(problem, "Corvelinscope", MessageIcon::Exclamation);
        return false;
    }
    return true;
}

CLibrarySearchCallbacks CPageLibrarySearch::JobCallbacks(CJobWorker::CJob& job)
{
    CLibrarySearchCallbacks callbacks;
    callbacks.Unknown = [this, &job](const CUnknownInfo& unknown) { job.Post([=, this] { OnUnknownRead(unknown); }); };
    callbacks.ProgressRange = [this, &job](int count) { job.Post([=, this] { OnScanStarted(count); }); };
    callbacks.Progress = [&job](int position) { job.Progress(position); };
    callbacks.Row = [this, &job](std::vector<std::string> cells) {
        job.Post([this, cells = std::move(cells)] { OnRow(cells); });
        if (RowDeliveredHook)
            RowDeliveredHook(job.Running());
    };
    return callbacks;
}

void CPageLibrarySearch::StartSearch()
{
    m_searching = true;
    m_list->SetEmptyText(kHitListSearchingText);
    m_worker->Start([this, session = Session, options = m_options](CJobWorker::CJob& job) {
        CLibrarySearchResult result;
        try {
            result = session.Run(options, job.Running(), JobCallbacks(job));
        } catch (const std::exception&) {
            // Nothing in the search throws for bad input; anything else ends it like an unreadable unknown.
            result.End = LibrarySearchEnd::UnknownUnreadable;
        }
        job.Post([this, result] { m_result = result; });
    });
}

void CPageLibrarySearch::StartBatchSearch()
{
    m_searching = true;
    m_list->SetEmptyText(kHitListSearchingText);
    m_batchRequest = CSearchRequest();
    m_batchRequest.Options = m_options;
    m_batchRequest.UnknownPath = Session.UnknownPath;
    m_batchRequest.LibraryFolder = Session.LibraryFolder;
    m_batchRequest.Save = Session.SaveAfterBatch;
    m_batchRequest.Print = Session.PrintAfterBatch;
    m_batchRequest.Threads = Session.Threads;
    m_batchSearch.reset();
    m_worker->Start([this, request = m_batchRequest](CJobWorker::CJob& job) {
        auto search = std::make_shared<CSearchJobSearch>();
        CWindowJobSink window;
        try {
            *search = SearchForJob(request, job.Running(), window, JobCallbacks(job));
        } catch (const std::exception&) {
            // As in a search of the page: anything thrown ends it like an unreadable unknown, with no report.
            search->Searched = false;
            search->Result.End = LibrarySearchEnd::UnknownUnreadable;
            search->Outcome.Fail(SearchFailure(search->Result.End));
        }
        job.Post([this, search] {
            m_result = search->Result;
            m_batchSearch = search;
        });
    });
}

void CPageLibrarySearch::OnUnknownRead(const CUnknownInfo& unknown)
{
    PeakCountText = unknown.PeakCountText;
    SampleNameText = unknown.SampleName;
    DataSystemText = unknown.DataSystemName;
    RefreshControls();
}

void CPageLibrarySearch::OnScanStarted(int entryCount)
{
    SetSearchingState(true);
    m_progress->setRange(0, entryCount % 65536);
    m_progress->setValue(0);
    m_list->Table().DeleteAllRows();
    m_list->SuspendRedraw();
    m_scanSuspendedRedraw = true;
}

void CPageLibrarySearch::OnRow(const std::vector<std::string>& cells)
{
    m_list->Table().AddRow(cells);
}

void CPageLibrarySearch::OnSearchFinished()
{
    const CLibrarySearchResult result = m_result;
    BatchResult = BatchSearchExitCode(result.End);
    m_stoppedLine =
        result.End == LibrarySearchEnd::Stopped ? StoppedSearchLine(result.RowCount, result.EntryCount) : std::string();
    {
        CWaitCursor wait;
        m_list->SuspendRedraw();
        Session.Finish(result, m_list->Table(), [this](const std::string& text) { return m_list->TextWidth(text); });
        m_list->MarkSortColumns(m_list->Table().SortKey(0));
        m_list->SyncHeader();
        m_list->FitColumnsToContent();
        m_list->ResumeRedraw();
    }
    if (result.End == LibrarySearchEnd::Completed || result.End == LibrarySearchEnd::Stopped) {
        m_progress->setValue(0);
        m_resultsSaved = false;
    }
    if (m_scanSuspendedRedraw) {
        m_scanSuspendedRedraw = false;
        m_list->ResumeRedraw();
    }
    m_searching = false;
    SetSearchingState(false);
    RefreshControls();
    emit searchFinished();
}

void CPageLibrarySearch::OnStopSearch()
{
    m_worker->Stop();
}

void CPageLibrarySearch::SortByColumn(int column)
{
    if (column < 0 || column >= kHitListColumns)
        return;
    CWaitCursor wait;
    m_list->SuspendRedraw();
    try {
        SortHitList(m_list->Table(), column);
    } catch (const CUserException&) {
        ShowMessage(kDateCompareMessage);
    }
    m_list->MarkSortColumns(m_list->Table().SortKey(0));
    m_list->ResumeRedraw();
}

void CPageLibrarySearch::OnColumnClick(int column)
{
    if (IsRunning())
        return;
    SortByColumn(column);
}

void CPageLibrarySearch::OnAdvanced()
{
    if (!StoreControls())
        return;
    if (CSearchOptionsUI::Edit(this, QStringLiteral("Search Options"), m_options,
                               {CSearchOptionsUI::Basic, CSearchOptionsUI::MassSpec, CSearchOptionsUI::RICalibration}))
        RefreshControls();
}

void CPageLibrarySearch::OnOpenParameters()
{
    StoreControls();
    if (ReadParameterFileDialog(this, m_options) == QDialog::Accepted)
        RefreshControls();
}

void CPageLibrarySearch::OnSaveParameters()
{
    if (!StoreControls())
        return;
    WriteParameterFileDialog(this, m_options);
}

std::string CPageLibrarySearch::ReportFilePath() const
{
    return SearchReportFileName(Session.UnknownPath, std::time(nullptr));
}

void CPageLibrarySearch::OnSaveReportFile()
{
    StoreControls();
    CSearchReport report = Session.Report(SampleNameText, PeakCountText);
    report.StoppedLine = m_stoppedLine;
    CWaitCursor wait;
    std::string path;
    if (WriteSearchReport(report, m_options, m_list->Table(), &path))
        m_resultsSaved = true;
}

void CPageLibrarySearch::OnPrintHitList()
{
    if (IsRunning())
        return;
    StoreControls();
    CSearchReportTexts texts;
    texts.UnknownPath = Session.UnknownPath;
    texts.SampleName = SampleNameText;
    texts.PeakCountText = PeakCountText;
    const bool batch = Session.SaveAfterBatch || Session.PrintAfterBatch;
    std::string pdfPath = ReportFilePath();
    if (pdfPath.size() >= 4)
        pdfPath.replace(pdfPath.size() - 4, 4, ".pdf");
    pdfPath = FreeFileName(pdfPath); // an earlier report's PDF is never replaced
    PrintLibrarySearchReport(this, texts, m_options, m_list->Table(), batch, ToQString(pdfPath));
}

void CPageLibrarySearch::OnDoubleClick(int row)
{
    if (row < 0 || row >= m_list->Table().RowCount())
        return; // empty space: nothing
    QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(DataPathOfRow(row))));
}

std::string CPageLibrarySearch::EntryPathOfRow(int row) const
{
    return Session.LibraryFolder + m_list->Table().Cell(row, 0);
}

std::string CPageLibrarySearch::DataPathOfRow(int row) const
{
    std::string path = EntryPathOfRow(row);
    if (path.size() >= kEntryEndingLength)
        path.resize(path.size() - kEntryEndingLength);
    return path;
}

void CPageLibrarySearch::OnOpenInDatasystem()
{
    const std::vector<int> rows = m_list->SelectedRows();
    if (rows.empty())
        return;
    CWaitCursor wait;
    DatasystemPlugins().OpenInDatasystem(DataPathOfRow(rows.front()));
}

void CPageLibrarySearch::OnOverlayInDatasystem()
{
    const std::vector<int> rows = m_list->SelectedRows();
    if (rows.empty()) {
        Messages().ShowMessage("Nothing selected to overlay", "Corvelinscope", MessageIcon::Exclamation);
        return;
    }
    CWaitCursor wait;
    DatasystemPlugins().OverlayInDatasystem(Session.UnknownPath, DataPathOfRow(rows.front()));
}

void CPageLibrarySearch::ShowPageMissing(IPageHost::PageId id)
{
    CMainPage* page = Host() ? Host()->Page(id) : nullptr;
    const QString title = page ? page->Title() : QString();
    Messages().ShowMessage(ToStdString(CPagePlaceholder::NotAvailableText(title)), "Corvelinscope",
                           MessageIcon::Information);
}

bool CPageLibrarySearch::SelectedPair(std::string& thisPath, std::string& otherPath) const
{
    const std::vector<int> rows = m_list->SelectedRows();
    if (rows.empty() || rows.size() > 2)
        return false;
    const std::string first = EntryPathOfRow(rows[0]);
    thisPath = rows.size() == 1 ? Session.UnknownPath : first;
    otherPath = rows.size() == 1 ? first : EntryPathOfRow(rows[1]);
    return true;
}

void CPageLibrarySearch::OnDisplayMatch()
{
    std::string thisPath, otherPath;
    if (!Host() || !SelectedPair(thisPath, otherPath))
        return;
    if (Host()->ShowChromatogramMatch(thisPath, otherPath) != PageHandOff::Done)
        ShowPageMissing(IPageHost::ChromatogramMatch);
}

void CPageLibrarySearch::OnBuildMatrix()
{
    std::string thisPath, otherPath;
    if (!Host() || !SelectedPair(thisPath, otherPath))
        return;
    if (Host()->BuildMatchMatrix(thisPath, otherPath) != PageHandOff::Done)
        ShowPageMissing(IPageHost::MatchMatrix);
}

void CPageLibrarySearch::OnBuildPeakTable()
{
    std::string thisPath, otherPath;
    if (!Host() || !SelectedPair(thisPath, otherPath))
        return;
    switch (Host()->BuildPeakMatchTable(thisPath, otherPath)) {
    case PageHandOff::Done:
        break;
    case PageHandOff::Disabled:
        Messages().ShowMessage("The Peak Match Table has been disabled.\nUse the options to enable the page.",
                               "User Error", MessageIcon::Stop);
        break;
    case PageHandOff::Missing:
        ShowPageMissing(IPageHost::PeakMatchTable);
        break;
    }
}

void CPageLibrarySearch::OnInternalOverlay()
{
    const std::vector<int> rows = m_list->SelectedRows();
    if (rows.size() != 1 && rows.size() != 2) {
        Messages().ShowMessage("The 'Internal Overlay' function is to be used for excatly two chromatograms!",
                               "Overlay Error", MessageIcon::Stop);
        return;
    }
    if (!Host()) {
        Messages().ShowMessage("InternalOverlay Internal Error 1", "Internal Error", MessageIcon::Stop);
        return;
    }
    const std::vector<std::string> paths =
        rows.size() == 1 ? std::vector<std::string>{EntryPathOfRow(rows[0]), Session.UnknownPath}
                         : std::vector<std::string>{EntryPathOfRow(rows[1]), EntryPathOfRow(rows[0])};
    switch (Host()->AddToOverlay(paths)) {
    case PageHandOff::Done:
        break;
    case PageHandOff::Disabled:
        Messages().ShowMessage("The Overlay Plot has been disabled.\nUse the options to enable the page.", "User Error",
                               MessageIcon::Stop);
        break;
    case PageHandOff::Missing:
        ShowPageMissing(IPageHost::OverlayPlot);
        break;
    }
}

void CPageLibrarySearch::OnColumnArrangement()
{
    m_list->OpenArrangementDialog(kLibrarySearchSection);
}

std::unique_ptr<QMenu> CPageLibrarySearch::CreateContextMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    const std::size_t s = m_list->SelectedRows().size();
    QAction* open = menu->addAction(QStringLiteral("Open Chromatogram in Data System"), this,
                                    &CPageLibrarySearch::OnOpenInDatasystem);
    menu->setDefaultAction(open);
    QAction* match =
        menu->addAction(QStringLiteral("Display chromatogram match"), this, &CPageLibrarySearch::OnDisplayMatch);
    QAction* matrix =
        menu->addAction(QStringLiteral("Build unknown/library match matrix"), this, &CPageLibrarySearch::OnBuildMatrix);
    QAction* peakTable =
        menu->addAction(QStringLiteral("Build peak match table"), this, &CPageLibrarySearch::OnBuildPeakTable);
    QAction* overlay =
        menu->addAction(QStringLiteral("Overlay in Data System"), this, &CPageLibrarySearch::OnOverlayInDatasystem);
    QAction* internal =
        menu->addAction(QStringLiteral("Internal Overlay"), this, &CPageLibrarySearch::OnInternalOverlay);
    menu->addAction(QStringLiteral("Column arrangement ..."), this, &CPageLibrarySearch::OnColumnArrangement);
    const bool pairOk = s >= 1 && s <= 2;
    internal->setEnabled(pairOk);
    match->setEnabled(pairOk);
    matrix->setEnabled(pairOk);
    peakTable->setEnabled(pairOk);
    overlay->setEnabled(s == 1);
    open->setEnabled(s == 1);
    return menu;
}

void CPageLibrarySearch::OnWindowCreated()
{
    if (BatchSearch && !Session.UnknownPath.empty()) {
        // Batch search: start 333 ms after the page exists, then poll every 500 ms for its end.
        QTimer::singleShot(333, this, [this] {
            if (!PrepareLibraryFolder()) {
                // The message went to stderr; a batch run never waits for the user.
                BatchResult = kExitNothingToDo;
                if (IPageHost* host = Host())
                    host->EndWithoutQuestions();
                return;
            }
            StartBatchSearch();
            m_pollTimer->start();
        });
    }
}

void CPageLibrarySearch::OnBatchPoll()
{
    if (IsRunning())
        return;
    m_pollTimer->stop();
    StoreControls();
    // The end of the batch program's job, on this thread for the printing; the report saved is the job's hit list,
    // the one printed the window's (the same rows).
    CStdioJobSink notes;
    if (m_batchSearch) {
        const CJobOutcome end = EndSearchJob(
            *m_batchSearch, m_batchRequest, [this] { OnPrintHitList(); }, notes);
        m_resultsSaved = m_resultsSaved || !end.FilesWritten.empty();
        BatchResult = end.ExitCode();
    }
    m_okTimer->start();
}

} // namespace corvelin
