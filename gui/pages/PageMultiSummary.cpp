#include "gui/pages/PageMultiSummary.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "engine/core/Exceptions.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/options/ProgramOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/workflow/InputReader.h"
#include "engine/views/MultiSummaryExport.h"
#include "engine/views/MultiSummaryRun.h"
#include "engine/views/MultiSummaryTable.h"
#include "engine/views/SummaryISTD.h"
#include "engine/table/ReportTable.h"
#include "engine/workflow/NistExport.h"
#include "gui/options/ParameterFileDialogs.h"
#include "gui/options/SearchOptionsUI.h"
#include "gui/pages/JobWorker.h"
#include "gui/widgets/DataExchange.h"
#include "gui/plots/SpectrumThumbnails.h"
#include "gui/widgets/FileDialogs.h"
#include "gui/widgets/FrozenFirstColumn.h"
#include "gui/widgets/HtmlToolTip.h"
#include "gui/widgets/OdorListCtrl.h"
#include "gui/widgets/QtText.h"
#include "gui/widgets/WaitCursor.h"
#include "gui/widgets/IconButton.h"

namespace corvelin {

namespace {

constexpr int kTipMilliseconds = 15000;

// "min Match:" is kept with the options, but the grouping uses its own fixed threshold.
constexpr const char* kMinMatchTip = "Kept with the search options only: peaks join a group when they match its "
                                     "reference peak at 900 (of 1000) or better, a fixed threshold; this value does "
                                     "not change the grouping.";

} // namespace

CPageMultiSummary::CPageMultiSummary(CSearchOptions& options, QWidget* parent)
    : CMainPage(options, QStringLiteral("Multiple Chromatogram Peak List"), parent)
{
    const CSummaryPictureSize picture = CSummaryPictureSize::Load();
    m_pictureWidth = picture.Width;
    m_pictureHeight = picture.Height;

    m_files = new COdorListCtrl(this);
    m_files->Table().InsertColumn("Files", 250, ColumnAlign::Center);
    m_files->Table().SetHoldsPaths(0, true);
    m_files->SetEmptyText("Select some files for processing");
    m_files->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_files->SyncHeader();

    m_add = new QPushButton(QStringLiteral("Add"), this);
    m_remove = new QPushButton(QStringLiteral("Remove"), this);
    m_go = new QPushButton(QStringLiteral("Go"), this);
    m_stop = new QPushButton(QStringLiteral("Stop"), this);
    m_stop->setEnabled(false);
    m_export = new QPushButton(QStringLiteral("Export"), this);
    m_advanced = new QPushButton(QStringLiteral("advanced ..."), this);
    m_open = IconButton(this, QStyle::SP_DialogOpenButton, QStringLiteral("Open search parameter file"));
    m_save = IconButton(this, QStyle::SP_DialogSaveButton, QStringLiteral("Save search parameter file"));
    m_ms = new QCheckBox(QStringLiteral("MS matching"), this);
    m_rt = new QCheckBox(QStringLiteral("RT matching"), this);
    m_ri = new QCheckBox(QStringLiteral("RI matching"), this);
    m_minMatch = new QLineEdit(this);
    m_minMatch->setMaximumWidth(60);
    m_minMatch->setToolTip(ToQString(kMinMatchTip));
    m_progress = new QProgressBar(this);
    m_progress->setTextVisible(false);
    m_statusLabel = new QLabel(this);
    m_istdNote = new QLabel(this);
    m_istdNote->setWordWrap(true);

    m_results = new COdorListCtrl(this);
    PrepareMultiSummaryTable(m_results->Table());
    m_results->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_results->SyncHeader();
    m_frozenFiles = new CFrozenFirstColumn(m_results);

    auto* fileButtons = new QVBoxLayout;
    fileButtons->addWidget(m_add);
    fileButtons->addWidget(m_remove);
    fileButtons->addStretch(1);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_files, 1);
    fileRow->addLayout(fileButtons);

    auto* optionsGrid = new QGridLayout;
    optionsGrid->addWidget(m_ms, 0, 0);
    optionsGrid->addWidget(m_rt, 1, 0);
    optionsGrid->addWidget(m_ri, 2, 0);
    auto* minRow = new QHBoxLayout;
    auto* minLabel = new QLabel(QStringLiteral("min Match:"), this);
    minLabel->setToolTip(ToQString(kMinMatchTip));
    minRow->addWidget(minLabel);
    minRow->addWidget(m_minMatch);
    optionsGrid->addLayout(minRow, 0, 1);
    optionsGrid->addWidget(m_advanced, 1, 1);
    auto* paramRow = new QHBoxLayout;
    paramRow->addWidget(m_open);
    paramRow->addWidget(m_save);
    paramRow->addStretch(1);
    optionsGrid->addLayout(paramRow, 2, 1);
    optionsGrid->addWidget(m_go, 0, 2);
    optionsGrid->addWidget(m_export, 1, 2);
    optionsGrid->addWidget(m_stop, 2, 2);

    auto* top = new QHBoxLayout;
    top->addLayout(fileRow, 1);
    top->addLayout(optionsGrid);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(m_progress);
    layout->addWidget(m_statusLabel);
    layout->addWidget(m_istdNote);
    layout->addWidget(m_results, 3);

    connect(m_add, &QPushButton::clicked, this, &CPageMultiSummary::OnAdd);
    connect(m_remove, &QPushButton::clicked, this, &CPageMultiSummary::OnRemove);
    connect(m_go, &QPushButton::clicked, this, &CPageMultiSummary::OnGo);
    connect(m_stop, &QPushButton::clicked, this, &CPageMultiSummary::OnStop);
    connect(m_export, &QPushButton::clicked, this, &CPageMultiSummary::OnExport);
    connect(m_advanced, &QPushButton::clicked, this, &CPageMultiSummary::OnAdvanced);
    connect(m_open, &QPushButton::clicked, this, &CPageMultiSummary::OnOpenParameters);
    connect(m_save, &QPushButton::clicked, this, &CPageMultiSummary::OnSaveParameters);
    m_tip = new CHtmlToolTip(m_results->viewport());
    m_tip->SetDelays(m_tip->InitialDelay(), kTipMilliseconds);
    m_tip->SetTextProvider([this](const QPoint& pos) { return TipTextAtPoint(pos); });
    connect(m_tip, &CHtmlToolTip::LinkActivated, this,
            [this](const QString& message) { OnPeakLink(ToStdString(message)); });
    m_thumbnails = std::make_unique<CSpectrumThumbnails>(m_tip->Pictures(), QSize(m_pictureWidth, m_pictureHeight));
    m_worker = new CJobWorker(this);
    connect(m_worker, &CJobWorker::progress, m_progress, &QProgressBar::setValue);
    connect(m_worker, &CJobWorker::finished, this, &CPageMultiSummary::OnRunFinished);
    RefreshControls();
}

CPageMultiSummary::~CPageMultiSummary()
{
    // A run reports to this page: it is stopped (it reads no further file) and waited for before anything goes.
    delete m_worker;
    m_thumbnails.reset(); // its pictures live in the tip
}

bool CPageMultiSummary::StoreControls()
{
    if (!ExchangeInt(true, m_minMatch, m_options.SummaryMinMatch, 1, 1000))
        return false;
    ExchangeCheck(true, m_ms, m_options.MSMatching);
    ExchangeCheck(true, m_rt, m_options.RTMatching);
    ExchangeCheck(true, m_ri, m_options.RIMatching);
    return true;
}

void CPageMultiSummary::RefreshControls()
{
    ExchangeInt(false, m_minMatch, m_options.SummaryMinMatch, 1, 1000);
    ExchangeCheck(false, m_ms, m_options.MSMatching);
    ExchangeCheck(false, m_rt, m_options.RTMatching);
    ExchangeCheck(false, m_ri, m_options.RIMatching);
    m_statusLabel->setText(ToQString(m_status));
    const std::string istdProblem = SummaryISTDProblem(m_options);
    m_istdNote->setText(ToQString(istdProblem));
    m_istdNote->setVisible(!istdProblem.empty());
}

bool CPageMultiSummary::CanLeave()
{
    if (!m_busy)
        return true;
    Messages().Beep();
    return false;
}

void CPageMultiSummary::SetStatus(const std::string& text)
{
    m_status = text;
    m_statusLabel->setText(ToQString(text));
}

void CPageMultiSummary::SetBusyState(bool busy)
{
    // While a run is in progress nothing that changes the shared options or the file list can be used.
    for (QWidget* w : std::initializer_list<QWidget*>{m_add, m_remove, m_advanced, m_open, m_save, m_ms, m_rt, m_ri,
                                                      m_minMatch, m_export, m_go})
        w->setEnabled(!busy);
    m_stop->setEnabled(busy);
}

bool CPageMultiSummary::AddFile(const std::string& path)
{
    CLibraryChromatogram chromatogram;
    if (!ReadInput(path, m_options, InputUse::SummaryFile, chromatogram).Read)
        return true; // after its message; the next file is added
    CReportTable& files = m_files->Table();
    for (int r = 0; r < files.RowCount(); ++r)
        if (files.Cell(r, 0) == path)
            return true;
    files.AddRow({path}, static_cast<std::uintptr_t>(std::max(chromatogram.PeakCount, 0)));
    return true;
}

void CPageMultiSummary::OnAdd()
{
    std::string filter;
    try {
        filter = DatasystemPlugins().BuildChromatogramFilter();
    } catch (const std::exception&) {
        return;
    }
    CFileChoice request;
    request.kind = CFileChoice::OpenMultiple;
    request.filter = filter;
    request.filterIndex = ChromatogramFilterIndex(filter);
    const CReportTable& files = m_files->Table();
    if (files.RowCount() > 0)
        request.initialFolder = FolderOfPath(ToQString(files.Cell(files.RowCount() - 1, 0)));
    const CFileChoiceResult choice = ChooseFile(this, request);
    QStringList chosen = choice.paths;
    if (chosen.isEmpty() && !choice.path.isEmpty())
        chosen << choice.path;
    if (chosen.isEmpty())
        return;
    RememberChromatogramFilter(choice.filterIndex);
    {
        CWaitCursor wait;
        for (const QString& path : chosen)
            if (!AddFile(ToStdString(path)))
                break;
    }
    m_files->SyncHeader();
    m_files->AutoSizeColumns(0, false);
}

void CPageMultiSummary::OnRemove()
{
    const std::vector<int> selected = m_files->SelectedRows();
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        m_files->Table().DeleteRow(*it);
}

void CPageMultiSummary::OnGo()
{
    if (m_busy)
        return;
    if (!StoreControls())
        return;
    const CReportTable& files = m_files->Table();
    std::vector<int> rows = files.SelectedRows();
    if (rows.empty())
        for (int r = 0; r < files.RowCount(); ++r)
            rows.push_back(r);
    long long peaks = 0;
    std::vector<std::string> paths;
    for (int r : rows) {
        peaks += static_cast<long long>(files.ItemData(r));
        paths.push_back(files.Cell(r, 0));
    }
    if (peaks == 0) {
        Messages().ShowMessage("The selected chromatograms have no peaks", {}, MessageIcon::None);
        return;
    }
    m_progress->setRange(0, static_cast<int>(std::min<long long>(peaks, 0x7fffffff)));
    m_progress->setValue(0);
    m_busy = true;
    SetBusyState(true);
    m_results->SetEmptyText(kSummarySearchingText);
    m_results->viewport()->update();
    // The previous result and its pictures go; the job builds the new record on its own and hands it over at
    // its end, so the hover tip never reads a record that is being rebuilt.
    m_tip->HideTip();
    m_result.Clear();
    m_thumbnails->Clear();
    m_runFiles = paths.size();
    m_worker->Start([this, paths, options = CSearchOptions(m_options)](CJobWorker::CJob& job) {
        auto result = std::make_shared<CMultiSummaryResultData>();
        CMultiSummaryCallbacks callbacks;
        callbacks.Status = [this, &job](const std::string& status) {
            job.Post([this, status] { SetStatus(status); });
            if (StatusDeliveredHook)
                StatusDeliveredHook(job.Running());
        };
        callbacks.Progress = [&job](int position) { job.Progress(position); };
        CMultiSummaryRunStats stats;
        try {
            stats = RunMultiSummary(paths, options, *result, job.Running(), callbacks);
        } catch (const std::exception&) {
            stats.Stopped = true; // what was grouped before the fault is shown
        }
        job.Post([this, result, stats] {
            m_runResult = result;
            m_runStats = stats;
        });
    });
}

void CPageMultiSummary::OnStop()
{
    m_worker->Stop();
}

void CPageMultiSummary::OnRunFinished()
{
    if (m_runResult)
        m_result = std::move(*m_runResult);
    m_runResult.reset();
    FillResults();
    m_results->SetEmptyText(kSummaryEmptyText);
    m_busy = false;
    SetBusyState(false);
    if (m_runStats.Stopped) {
        SetStatus(FormatC("Stopped after %i of %i files.", m_runStats.FilesRead + m_runStats.FilesFailed,
                          static_cast<int>(m_runFiles)));
    } else {
        SetStatus(kSummaryDoneText);
        QTimer::singleShot(750, this, [this] {
            if (!m_busy && m_status == kSummaryDoneText)
                SetStatus({});
        });
    }
    emit runFinished();
}

void CPageMultiSummary::FillResults()
{
    m_results->SuspendRedraw();
    FillMultiSummaryTable(
        m_result, m_options, m_results->Table(), [this](const std::string& text) { return m_results->TextWidth(text); },
        SummaryDigits::Screen);
    m_results->FitColumnsToContent();
    m_results->ResumeRedraw();
}

void CPageMultiSummary::OnAdvanced()
{
    if (!StoreControls())
        return;
    if (CSearchOptionsUI::Edit(this, QStringLiteral("Search Options"), m_options,
                               {CSearchOptionsUI::Summary, CSearchOptionsUI::Basic, CSearchOptionsUI::MassSpec,
                                CSearchOptionsUI::RICalibration})) {
        RefreshControls();
        FillResults();
    }
}

void CPageMultiSummary::OnOpenParameters()
{
    if (ReadParameterFileDialog(this, m_options) == QDialog::Accepted)
        RefreshControls();
}

void CPageMultiSummary::OnSaveParameters()
{
    if (!StoreControls())
        return;
    WriteParameterFileDialog(this, m_options);
}

void CPageMultiSummary::OnExport()
{
    CFileChoice request;
    request.kind = CFileChoice::Save;
    request.title = QStringLiteral("Save Multiple File Peak Summary Results");
    request.defaultSuffix = QStringLiteral("csv");
    request.filter = "CSV files (*.csv)|*.csv|All Files (*.*)|*.*||";
    request.confirmOverwrite = false;
    request.initialFolder = ToQString(LoadSaveFolder(SaveFolder::SummaryExport));
    const CFileChoiceResult choice = ChooseFile(this, request);
    if (choice.path.isEmpty())
        return;
    WriteSaveFolder(SaveFolder::SummaryExport, ToStdString(FolderOfPath(choice.path)));
    CWaitCursor wait;
    // The page shows relative values with more digits than the file's documented "%.3f": the file gets its own
    // texts, with the page's hidden columns left out as before.
    CReportTable file;
    FillMultiSummaryTable(m_result, m_options, file, {}, SummaryDigits::File);
    const CReportTable& shown = m_results->Table();
    if (file.ColumnCount() == shown.ColumnCount() && file.RowCount() == shown.RowCount()) {
        for (int c = 0; c < file.ColumnCount(); ++c)
            file.SetWidth(c, shown.Width(c));
        WriteMultiSummaryCsv(ToStdString(choice.path), m_options, file);
    } else {
        WriteMultiSummaryCsv(ToStdString(choice.path), m_options, shown);
    }
}

unsigned long CPageMultiSummary::PeakPicture(int chromatogram, int group)
{
    const CLibraryChromatogramPeakData* peak =
        SummaryCellPeak(m_result, chromatogram, group + kSummaryFirstGroupColumn);
    if (!peak)
        return 0;
    return m_thumbnails->Handle(CSpectrumThumbnails::Key(chromatogram, group), &peak->Spectrum,
                                FormatC("%.2f", peak->RT));
}

std::string CPageMultiSummary::TipTextAt(int row, int column)
{
    const CReportTable& table = m_results->Table();
    if (row < 0 || row >= table.RowCount() || column < kSummaryFirstGroupColumn)
        return {};
    const int chromatogram = static_cast<int>(table.ItemData(row));
    const unsigned long handle = PeakPicture(chromatogram, column - kSummaryFirstGroupColumn);
    if (handle == 0)
        return {};
    return SummaryPeakTip(m_result, chromatogram, column, handle, m_pictureWidth, m_pictureHeight);
}

std::string CPageMultiSummary::TipTextAtPoint(const QPoint& viewportPos)
{
    // A run rebuilds its record apart from the page; while it is busy the table shows the previous run's rows
    // without their peaks, so there is nothing to tell.
    if (m_busy)
        return {};
    const QModelIndex index = m_results->indexAt(viewportPos);
    return index.isValid() ? TipTextAt(index.row(), index.column()) : std::string();
}

void CPageMultiSummary::OnPeakLink(const std::string& message)
{
    const CSummaryPeakLink link = ParseSummaryPeakLink(message);
    const CLibraryChromatogramPeakData* peak =
        SummaryCellPeak(m_result, link.Chromatogram, link.Group + kSummaryFirstGroupColumn);
    if (link.Action == CSummaryPeakLink::Kind::None || !peak)
        return;
    const std::string label = SummaryPeakLabel(m_result, link);
    if (link.Action == CSummaryPeakLink::Kind::Nist)
        SearchInNist(peak->Spectrum, label, m_result.Chromatogram(link.Chromatogram).SampleName);
    else
        m_options.AddSpectrum(label, peak->Spectrum, false); // unticked, as from every other page
}

} // namespace corvelin
