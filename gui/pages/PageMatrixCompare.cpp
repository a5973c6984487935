#include "gui/pages/PageMatrixCompare.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>
#include <memory>

#include "engine/core/Exceptions.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/workflow/NistExport.h"
#include "gui/options/ParameterFileDialogs.h"
#include "gui/options/SearchOptionsUI.h"
#include "gui/pages/LatestJob.h"
#include "gui/plots/ColorScale.h"
#include "gui/plots/MatrixDisplay.h"
#include "gui/print/MatchMatrixReportPrinter.h"
#include "gui/widgets/DataExchange.h"
#include "gui/widgets/FileDialogs.h"
#include "gui/widgets/HtmlToolTip.h"
#include "gui/widgets/OdorListCtrl.h"
#include "gui/widgets/QtText.h"
#include "gui/widgets/IconButton.h"

namespace corvelin {

namespace {

constexpr int kTipMilliseconds = 15000;

void SendToNist(const CLibraryMassSpectrumData& spectrum, const std::string& name, const std::string& comment)
{
    SearchInNist(spectrum, name, comment);
}

} // namespace

CPageMatrixCompare::CPageMatrixCompare(CSearchOptions& options, QWidget* parent)
    : CMainPage(options, QStringLiteral("Match Matrix"), parent)
{
    setAcceptDrops(true);

    auto* files = new QGridLayout;
    m_thisEdit = new QLineEdit(this);
    m_otherEdit = new QLineEdit(this);
    m_browseThis = new QPushButton(QStringLiteral("Browse"), this);
    m_browseOther = new QPushButton(QStringLiteral("Browse"), this);
    files->addWidget(new QLabel(QStringLiteral("\"this\" file:"), this), 0, 0);
    files->addWidget(m_thisEdit, 0, 1);
    files->addWidget(m_browseThis, 0, 2);
    files->addWidget(new QLabel(QStringLiteral("\"other\" file:"), this), 1, 0);
    files->addWidget(m_otherEdit, 1, 1);
    files->addWidget(m_browseOther, 1, 2);

    auto* switches = new QHBoxLayout;
    m_ms = new QCheckBox(QStringLiteral("MS matching"), this);
    m_rt = new QCheckBox(QStringLiteral("RT matching"), this);
    m_ri = new QCheckBox(QStringLiteral("RI matching"), this);
    m_area = new QCheckBox(QStringLiteral("Area matching"), this);
    m_height = new QCheckBox(QStringLiteral("Height matching"), this);
    m_advanced = new QPushButton(QStringLiteral("advanced ..."), this);
    m_open = IconButton(this, QStyle::SP_DialogOpenButton, QStringLiteral("Open search parameter file"));
    m_save = IconButton(this, QStyle::SP_DialogSaveButton, QStringLiteral("Save search parameter file"));
    m_build = new QPushButton(QStringLiteral("Build comparism matrix"), this);
    for (QWidget* w : std::initializer_list<QWidget*>{m_ms, m_rt, m_ri, m_area, m_height, m_advanced, m_open, m_save})
        switches->addWidget(w);
    switches->addStretch(1);
    switches->addWidget(m_build);

    m_list = new COdorListCtrl(this);
    m_list->SetEmptyText(kMatchMatrixEmptyText);
    m_list->Table().InsertColumn(" ", 250, ColumnAlign::Center);
    // The overall details of the last build, shown over the table for up to 15 seconds.
    m_detailsTip = new CHtmlToolTip(m_list->viewport());
    m_detailsTip->SetDelays(500, kTipMilliseconds);
    m_detailsTip->SetTextProvider([this](const QPoint&) { return m_matrix.DetailsText; });

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    m_display = new CMatrixDisplay(right);
    m_scale = new CColorScale(right);
    rightLayout->addWidget(m_display, 1);
    rightLayout->addWidget(m_scale);

    // The bar between table and display: dragged as an outline, the west-east sizing cursor over it.
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setOpaqueResize(false);
    m_splitter->setHandleWidth(5);
    m_splitter->addWidget(m_list);
    m_splitter->addWidget(right);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->handle(1)->setCursor(Qt::SizeHorCursor);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(files);
    layout->addLayout(switches);
    layout->addWidget(m_splitter, 1);

    connect(m_browseThis, &QPushButton::clicked, this, &CPageMatrixCompare::OnBrowseThis);
    connect(m_browseOther, &QPushButton::clicked, this, &CPageMatrixCompare::OnBrowseOther);
    connect(m_advanced, &QPushButton::clicked, this, &CPageMatrixCompare::OnAdvanced);
    connect(m_open, &QPushButton::clicked, this, &CPageMatrixCompare::OnOpenParameters);
    connect(m_save, &QPushButton::clicked, this, &CPageMatrixCompare::OnSaveParameters);
    m_buildJob = new CLatestJob(this);
    BindBuildButton(
        *m_build, *m_buildJob, [this] { OnBuild(); }, [this] { OnStop(); });
    connect(m_display, &CMatrixDisplay::linkActivated, this, &CPageMatrixCompare::OnPeakLink);
    RefreshControls();
}

CPageMatrixCompare::~CPageMatrixCompare()
{
    // A build hands its matrix to this page: stop it and wait for it before anything goes away.
    delete m_buildJob;
    // The display points into the matrix: let go of it first.
    m_display->SetData(nullptr, 0, 0, nullptr, nullptr);
}

bool CPageMatrixCompare::StoreControls()
{
    ExchangeText(true, m_thisEdit, ThisPath);
    ExchangeText(true, m_otherEdit, OtherPath);
    ExchangeCheck(true, m_ms, m_options.MSMatching);
    ExchangeCheck(true, m_rt, m_options.RTMatching);
    ExchangeCheck(true, m_ri, m_options.RIMatching);
    ExchangeCheck(true, m_area, m_options.AreaMatching);
    ExchangeCheck(true, m_height, m_options.HeightMatching);
    return true;
}

void CPageMatrixCompare::RefreshControls()
{
    ExchangeText(false, m_thisEdit, ThisPath);
    ExchangeText(false, m_otherEdit, OtherPath);
    ExchangeCheck(false, m_ms, m_options.MSMatching);
    ExchangeCheck(false, m_rt, m_options.RTMatching);
    ExchangeCheck(false, m_ri, m_options.RIMatching);
    ExchangeCheck(false, m_area, m_options.AreaMatching);
    ExchangeCheck(false, m_height, m_options.HeightMatching);
}

void CPageMatrixCompare::SetPaths(const std::string& thisPath, const std::string& otherPath)
{
    ThisPath = thisPath;
    OtherPath = otherPath;
    RefreshControls();
}

void CPageMatrixCompare::SetPathsAndBuild(const std::string& thisPath, const std::string& otherPath)
{
    SetPaths(thisPath, otherPath);
    OnBuild();
}

void CPageMatrixCompare::OnBuild()
{
    StoreControls();
    m_buildJob->Start([this, thisPath = ThisPath, otherPath = OtherPath,
                       options = CSearchOptions(m_options)](CJobWorker::CJob& job, const CLatestJob::Deliver& deliver) {
        auto built = std::make_shared<CMatchMatrix>();
        MatchMatrixBuildEnd end = MatchMatrixBuildEnd::Stopped;
        try {
            end = BuildMatchMatrix(thisPath, otherPath, options, *built, &job.Running());
        } catch (const std::exception&) {
            end = MatchMatrixBuildEnd::Unreadable;
        }
        deliver([this, built, end] {
            m_lastEnd = end;
            if (end != MatchMatrixBuildEnd::Built)
                return;
            m_matrix = std::move(*built);
            ShowTable();
            m_display->SetData(&m_matrix.Cells, m_matrix.ThisCount(), m_matrix.OtherCount(), &m_matrix.This,
                               &m_matrix.Other);
        });
    });
}

void CPageMatrixCompare::OnStop()
{
    m_lastEnd = MatchMatrixBuildEnd::Stopped;
    m_buildJob->Stop();
}

bool CPageMatrixCompare::IsBusy() const noexcept
{
    return m_buildJob->IsBusy();
}

void CPageMatrixCompare::ShowTable()
{
    CReportTable& table = m_list->Table();
    m_list->SuspendRedraw();
    table.DeleteAllColumns();
    const CReportTable& built = m_matrix.Table;
    for (int c = 0; c < built.ColumnCount(); ++c)
        table.InsertColumn(built.Header(c), built.Width(c), built.Column(c).Align);
    for (int r = 0; r < built.RowCount(); ++r)
        table.AddRow(built.Row(r).Cells, built.ItemData(r));
    m_list->ResumeRedraw();
    m_list->FitColumnsToContent();
}

QString CPageMatrixCompare::DetailsTip() const
{
    return ToQString(m_matrix.DetailsText);
}

bool CPageMatrixCompare::Browse(std::string& path)
{
    StoreControls();
    std::string filter;
    try {
        filter = DatasystemPlugins().BuildChromatogramFilter();
    } catch (const CUserException&) {
        return false; // the list said why
    }
    const QString current = ToQString(path);
    const CFileChoiceResult choice = ChooseChromatogramFile(
        this, FolderOfPath(current), filter, QFileInfo(current).fileName(), QStringLiteral("ChromLibEntry"));
    if (choice.path.isEmpty())
        return false;
    path = ToStdString(choice.path);
    RememberChromatogramFilter(choice.filterIndex);
    RefreshControls();
    return true;
}

void CPageMatrixCompare::OnBrowseThis()
{
    Browse(ThisPath);
}

void CPageMatrixCompare::OnBrowseOther()
{
    Browse(OtherPath);
}

void CPageMatrixCompare::OnAdvanced()
{
    if (!StoreControls())
        return;
    if (CSearchOptionsUI::Edit(this, QStringLiteral("Compare Options"), m_options,
                               {CSearchOptionsUI::Basic, CSearchOptionsUI::MassSpec, CSearchOptionsUI::RICalibration}))
        RefreshControls();
}

void CPageMatrixCompare::OnOpenParameters()
{
    StoreControls();
    if (ReadParameterFileDialog(this, m_options) == QDialog::Accepted)
        RefreshControls();
}

void CPageMatrixCompare::OnSaveParameters()
{
    if (!StoreControls())
        return;
    WriteParameterFileDialog(this, m_options);
}

void CPageMatrixCompare::OnDropFiles(const QStringList& paths)
{
    StoreControls();
    if (paths.size() == 1) {
        if (m_thisEdit->hasFocus())
            ThisPath = ToStdString(paths[0]);
        else
            OtherPath = ToStdString(paths[0]);
    } else if (paths.size() == 2) {
        ThisPath = ToStdString(paths[0]);
        OtherPath = ToStdString(paths[1]);
    }
    RefreshControls();
}

void CPageMatrixCompare::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CPageMatrixCompare::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile());
    OnDropFiles(paths);
    event->acceptProposedAction();
}

void CPageMatrixCompare::OnPeakLink(const QString& message)
{
    RunMatchMatrixPeakLink(m_matrix, ToStdString(message), ThisPath, OtherPath, m_options, &SendToNist);
}

QString CPageMatrixCompare::ReportDocumentName() const
{
    return QStringLiteral("Corvelinscope ") + Title();
}

QString CPageMatrixCompare::ReportPdfPath() const
{
    const QFileInfo info(ToQString(m_matrix.This.SourcePath.empty() ? ThisPath : m_matrix.This.SourcePath));
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(" Match Matrix.pdf"));
}

CMatrixReportTexts CPageMatrixCompare::ReportTexts() const
{
    CMatrixReportTexts texts;
    texts.ThisPath = m_matrix.This.SourcePath;
    texts.ThisSampleName = m_matrix.This.SampleName;
    texts.ThisPeakCount = m_matrix.This.PeakCount;
    texts.OtherPath = m_matrix.Other.SourcePath;
    texts.OtherSampleName = m_matrix.Other.SampleName;
    texts.OtherPeakCount = m_matrix.Other.PeakCount;
    if (m_matrix.Built) {
        texts.Forward = m_matrix.Forward.Overall;
        texts.ForwardMatched = m_matrix.Forward.MatchedPeaks;
        texts.ForwardConsidered = m_matrix.Forward.ConsideredPeaks;
        texts.Reverse = m_matrix.Reverse.Overall;
        texts.ReverseMatched = m_matrix.Reverse.MatchedPeaks;
        texts.ReverseConsidered = m_matrix.Reverse.ConsideredPeaks;
    }
    return texts;
}

void CPageMatrixCompare::OnPrintMatrix()
{
    if (!HasMatrix()) {
        Messages().ShowMessage("There is no compare matrix to print", "Corvelinscope", MessageIcon::Information);
        return;
    }
    PrintMatchMatrixReport(this, ReportDocumentName(), ReportTexts(), m_options, *m_display, ReportPdfPath());
}

void CPageMatrixCompare::OnCopyGraphic()
{
    QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard) {
        Messages().ShowMessage("Can't open Clipboard", "Matrix", MessageIcon::None);
        return;
    }
    clipboard->clear();
    clipboard->setPixmap(m_display->grab());
}

} // namespace corvelin
