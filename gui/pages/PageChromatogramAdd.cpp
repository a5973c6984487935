#include "gui/pages/PageChromatogramAdd.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
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
#include "engine/workflow/InputReader.h"
#include "engine/peaks/IonCurrent.h"
#include "engine/platform/CFormat.h"
#include "gui/options/PeakDetectionDialog.h"
#include "gui/pages/JobWorker.h"
#include "gui/plots/MultiChromatogramPlot.h"
#include "gui/plots/RunPlot.h"
#include "gui/plots/SpectrumDraw.h"

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

    // The plots: the run (or the peak list) on the left, the clicked peak's spectrum on the right.
    auto* plotBox = new QWidget(this);
    auto* plotLayout = new QVBoxLayout(plotBox);
    plotLayout->setContentsMargins(0, 0, 0, 0);
    auto* runControls = new QHBoxLayout;
    m_ionsEdit = new QLineEdit(plotBox);
    m_ionsEdit->setPlaceholderText(QStringLiteral("e.g. 73 147"));
    m_ionsEdit->setToolTip(QStringLiteral("Nominal masses whose extracted-ion chromatograms are drawn over the TIC "
                                          "(separated by blanks or commas; Enter shows them)"));
    m_ionsEdit->setMaximumWidth(160);
    auto* ionsLabel = new QLabel(QStringLiteral("Extracted ions (m/z):"), plotBox);
    ionsLabel->setBuddy(m_ionsEdit);
    m_detectionButton = new QPushButton(QStringLiteral("Peak Detection ..."), plotBox);
    m_detectionButton->setToolTip(QStringLiteral("How peaks are found in runs of this data system; detect again"));
    runControls->addWidget(ionsLabel);
    runControls->addWidget(m_ionsEdit);
    runControls->addStretch(1);
    runControls->addWidget(m_detectionButton);
    plotLayout->addLayout(runControls);
    auto* plotSplitter = new QSplitter(Qt::Horizontal, plotBox);
    m_plots = new QStackedWidget(plotSplitter);
    m_runPlot = new CRunPlot(m_plots);
    m_peakPlot = new CMultiChromatogramPlot(m_plots);
    m_plots->addWidget(m_runPlot);
    m_plots->addWidget(m_peakPlot);
    // Beside the plot: a hint until a peak is clicked, then that peak's spectrum.
    m_spectrumSide = new QStackedWidget(plotSplitter);
    auto* hint = new QLabel(QStringLiteral("Click a peak to see its spectrum."), m_spectrumSide);
    hint->setAlignment(Qt::AlignCenter);
    hint->setWordWrap(true);
    m_spectrum = new CSpectrumDraw(m_spectrumSide);
    m_spectrumSide->addWidget(hint);
    m_spectrumSide->addWidget(m_spectrum);
    plotSplitter->addWidget(m_plots);
    plotSplitter->addWidget(m_spectrumSide);
    plotSplitter->setStretchFactor(0, 2);
    plotSplitter->setStretchFactor(1, 1);
    plotLayout->addWidget(plotSplitter, 1);

    auto* infoBox = new QGroupBox(QStringLiteral("File Information"), this);
    auto* infoLayout = new QVBoxLayout(infoBox);
    m_tree = new QTreeWidget(infoBox);
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);
    infoLayout->addWidget(m_tree);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(plotBox);
    splitter->addWidget(infoBox);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fileBox);
    layout->addWidget(splitter, 1);

    connect(browse, &QPushButton::clicked, this, &CPageChromatogramAdd::OnBrowse);
    connect(display, &QPushButton::clicked, this, &CPageChromatogramAdd::OnJustDisplay);
    connect(convert, &QPushButton::clicked, this, &CPageChromatogramAdd::OnDisplayAndConvert);
    connect(m_minAreaBox, &QCheckBox::clicked, this, &CPageChromatogramAdd::OnMinAreaClicked);
    connect(calibration, &QPushButton::clicked, this, &CPageChromatogramAdd::OnRICalibration);
    connect(open, &QPushButton::clicked, this, &CPageChromatogramAdd::OnOpenParameters);
    connect(m_detectionButton, &QPushButton::clicked, this, &CPageChromatogramAdd::OnPeakDetection);
    connect(m_ionsEdit, &QLineEdit::returnPressed, this, &CPageChromatogramAdd::OnIonMasses);
    connect(m_runPlot, &CRunPlot::PeakClicked, this, &CPageChromatogramAdd::OnPeakClicked);
    m_runReader = new CJobWorker(this);
    connect(m_runReader, &CJobWorker::finished, this, [this] {
        if (m_readAgain)
            StartRunRead(m_runGeneration);
    });
    m_detectionButton->setEnabled(false);
    m_ionsEdit->setEnabled(false);

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
    CLibraryChromatogram shown;
    DisplayChromatogram(DataFile, MinAreaInEffect(), m_options, tree, &shown);
    ShowTree(tree);
    ShowPlot(shown);
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
    if (BatchConvert)
        return;
    // The plot shows the file named (the first of a folder's conversion): what was just converted.
    CLibraryChromatogram shown;
    CInputReadSettings quiet;
    quiet.MinAreaPercent = MinAreaInEffect();
    quiet.ShowFailure = false; // the conversion has said why already
    if (!ReadInput(DataFile, m_options, InputUse::Conversion, shown, quiet).Read)
        shown.Clear();
    ShowPlot(shown);
}

void CPageChromatogramAdd::ShowPlot(const CLibraryChromatogram& shown)
{
    m_peakPlot->RemoveAll();
    ShowRun(std::nullopt);
    if (shown.PeakCount > 0)
        m_peakPlot->AddChromatogram(shown);
    if (shown.PeakCount == 0 && shown.SourcePath.empty())
        return; // not read
    // The scans are read on the job worker; the peak plot stands until they arrive (a peak list keeps it).
    const int generation = ++m_runGeneration;
    if (m_runReader->IsRunning()) {
        m_runReader->Stop();
        m_readAgain = true;
        return;
    }
    StartRunRead(generation);
}

void CPageChromatogramAdd::StartRunRead(int generation)
{
    m_readAgain = false;
    const std::string path = DataFile;
    const double minArea = MinAreaInEffect();
    m_runReader->Start([this, path, minArea, generation](CJobWorker::CJob& job) {
        auto run = std::make_shared<std::optional<CRunDisplay>>();
        try {
            *run = ReadRunDisplay(DatasystemPlugins(), path, minArea, false);
        } catch (const std::exception&) {
            run->reset();
        }
        job.Post([this, run, generation] {
            if (generation == m_runGeneration)
                ShowRun(std::move(*run));
        });
    });
}

void CPageChromatogramAdd::ShowRun(std::optional<CRunDisplay> run)
{
    m_run = std::move(run);
    m_runPlot->Model().Clear();
    m_runPlot->SelectPeak(-1);
    m_spectrum->SetSpectrum(nullptr, {});
    m_spectrumSide->setCurrentIndex(0);
    if (m_run) {
        m_peakPlot->RemoveAll();
        m_runPlot->Model().SetRun(m_run->Source.Run.Times(), m_run->Source.TotalIonCurrent);
        m_runPlot->Model().SetPeaks(m_run->Peaks);
        m_plots->setCurrentWidget(m_runPlot);
        OnIonMasses();
    } else {
        m_plots->setCurrentWidget(m_peakPlot);
    }
    m_runPlot->Refresh();
    m_detectionButton->setEnabled(m_run.has_value() && !m_run->Source.SettingsSection.empty());
    m_ionsEdit->setEnabled(m_run.has_value());
}

void CPageChromatogramAdd::OnIonMasses()
{
    if (!m_run)
        return;
    std::vector<CIonTrace> traces;
    for (int mass : ParseNominalMasses(ToStdString(m_ionsEdit->text()), m_run->Settings.MaxNominalMass))
        traces.push_back({mass, ExtractedIonCurrent(m_run->Source.Run, mass)});
    m_runPlot->Model().SetIonTraces(std::move(traces));
    m_runPlot->Refresh();
}

void CPageChromatogramAdd::OnPeakDetection()
{
    if (!m_run)
        return;
    CPeakDetectionDialog dialog(this, m_run->Source.DataSystemName, m_run->Settings,
                                [this](const CPeakDetectorSettings& settings) { DetectAgainWith(settings); });
    dialog.exec();
}

void CPageChromatogramAdd::DetectAgainWith(const CPeakDetectorSettings& settings)
{
    if (!m_run)
        return;
    CWaitCursor wait;
    DetectAgain(*m_run, settings);
    m_runPlot->Model().SetPeaks(m_run->Peaks);
    m_runPlot->SelectPeak(-1);
    m_spectrum->SetSpectrum(nullptr, {});
    m_spectrumSide->setCurrentIndex(0);
    // The tree lists what the next conversion writes: read again with the settings just stored.
    CInfoTree tree;
    DisplayChromatogram(m_run->Path, m_run->MinAreaPercent, m_options, tree);
    ShowTree(tree);
}

QTreeWidgetItem* CPageChromatogramAdd::PeakRow(int peak) const
{
    // The peaks are the depth-2 rows under "Number of Peaks", in peak order.
    int index = 0;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        QTreeWidgetItem* item = *it;
        if (!item->parent() || !item->parent()->parent() || item->parent()->parent()->parent())
            continue;
        if (index++ == peak)
            return item;
    }
    return nullptr;
}

void CPageChromatogramAdd::OnPeakClicked(int peak)
{
    if (!m_run || peak < 0 || static_cast<std::size_t>(peak) >= m_run->Peaks.Peaks.size())
        return;
    const CDetectedPeak& detected = m_run->Peaks.Peaks[static_cast<std::size_t>(peak)];
    m_peakSpectrum = CLibraryMassSpectrumData();
    for (const auto& [mass, percent] : detected.Spectrum)
        m_peakSpectrum.Append(CLibraryMassSpectrumPoint(mass, percent));
    m_peakSpectrum.ApplyWeighting();
    m_spectrum->SetSpectrum(&m_peakSpectrum, FormatC("Peak %d, RT %.2f", peak, detected.RT));
    m_spectrumSide->setCurrentWidget(m_spectrum);
    m_runPlot->SelectPeak(peak);
    if (QTreeWidgetItem* row = PeakRow(peak)) {
        m_tree->setCurrentItem(row);
        m_tree->scrollToItem(row, QAbstractItemView::PositionAtCenter);
    }
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
