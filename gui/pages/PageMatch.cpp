#include "gui/pages/PageMatch.h"
#include "gui/pages/RICalibrationEditor.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <memory>
#include <optional>

#include "engine/core/Exceptions.h"
#include "engine/options/SearchOptions.h"
#include "engine/options/ProgramOptions.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/views/ChromatogramMatch.h"
#include "engine/views/ColorScheme.h"
#include "engine/views/MatchLines.h"
#include "engine/views/OverlayRules.h"
#include "gui/options/ParameterFileDialogs.h"
#include "gui/options/SearchOptionsUI.h"
#include "gui/pages/LatestJob.h"
#include "gui/pages/PlotToolBar.h"
#include "gui/plots/ColorScale.h"
#include "gui/plots/MatchControl.h"
#include "gui/plots/MultiChromatogramPlot.h"
#include "gui/widgets/FileDialogs.h"
#include "gui/widgets/QtText.h"

namespace corvelin {

std::string& CPageMatch::LastThisPath()
{
    static std::string path;
    return path;
}

std::string& CPageMatch::LastOtherPath()
{
    static std::string path;
    return path;
}

CPageMatch::CPageMatch(CSearchOptions& options, QWidget* parent)
    : CMainPage(options, QStringLiteral("Chromatogram Match"), parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    m_toolBar = new CPlotToolBar(this);
    top->addWidget(m_toolBar);
    top->addStretch(1);
    m_selectFiles = new QPushButton(QStringLiteral("Select files ..."), this);
    m_parameters = new QPushButton(this);
    m_parameters->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    m_parameters->setToolTip(QStringLiteral("Compare Options"));
    m_stop = new QPushButton(QStringLiteral("Stop"), this);
    m_stop->setToolTip(QStringLiteral("Stop comparing"));
    top->addWidget(m_stop);
    top->addWidget(m_selectFiles);
    top->addWidget(m_parameters);
    layout->addLayout(top);
    m_scale = new CColorScale(this);
    layout->addWidget(m_scale);
    m_plot = new CMatchControl(m_options, this);
    for (int i = 0; i < 2; ++i)
        m_plot->Plot(i).SetRICalibrationEditor(EditRICalibrationSheet);
    layout->addWidget(m_plot, 1);

    connect(m_scale, &CColorScale::schemeChanged, this, &CPageMatch::ApplyColourScheme);
    connect(m_selectFiles, &QPushButton::clicked, this, &CPageMatch::OnSelectFiles);
    connect(m_parameters, &QPushButton::clicked, this, &CPageMatch::OnParameters);
    connect(m_stop, &QPushButton::clicked, this, &CPageMatch::OnStop);
    connect(m_plot, &CMatchControl::CompareWanted, this, &CPageMatch::StartCompare);
    m_compare = new CLatestJob(this);
    connect(m_compare, &CLatestJob::busyChanged, this, &CPageMatch::SetBusyState);
    connect(m_toolBar->MoveLeft(), &QAction::triggered, m_plot, &CMatchControl::MoveLeft);
    connect(m_toolBar->MoveRight(), &QAction::triggered, m_plot, &CMatchControl::MoveRight);
    connect(m_toolBar->FullRTRange(), &QAction::triggered, m_plot, &CMatchControl::ShowFullRTRange);
    connect(m_toolBar->FullHeight(), &QAction::triggered, m_plot, &CMatchControl::ShowFullHeight);
    connect(m_toolBar->ResetScale(), &QAction::triggered, m_plot, &CMatchControl::ShowFullScale);
    ApplyColourScheme();
    UpdateToolBar();
    SetBusyState(false);
}

CPageMatch::~CPageMatch()
{
    // The compare works on copies and hands its result to this page: stop it and wait for it first.
    delete m_compare;
}

bool CPageMatch::IsBusy() const noexcept
{
    return m_compare->IsBusy();
}

void CPageMatch::SetBusyState(bool busy)
{
    m_stop->setVisible(busy);
    m_stop->setEnabled(busy);
}

void CPageMatch::StartCompare()
{
    m_plot->ClearMatch();
    if (!m_plot->HasData()) {
        m_compare->Stop();
        return;
    }
    m_compare->Start([this, self = *m_plot->Chromatogram(0), other = *m_plot->Chromatogram(1),
                      options = CSearchOptions(m_options)](CJobWorker::CJob& job, const CLatestJob::Deliver& deliver) {
        CompareAndDeliver(self, other, options, job, deliver);
    });
}

void CPageMatch::CompareAndDeliver(const CLibraryChromatogram& self, const CLibraryChromatogram& other,
                                   const CSearchOptions& options, CJobWorker::CJob& job,
                                   const CLatestJob::Deliver& deliver)
{
    auto match = std::make_shared<std::optional<CChromatogramMatch>>();
    try {
        *match = CompareForMatchPlot(self, other, options, job.Running());
    } catch (const std::exception&) {
        match->reset(); // the plot stays without lines, as after a stop
    }
    if (*match)
        deliver([this, match] { m_plot->SetMatch(std::move(**match)); });
}

void CPageMatch::OnStop()
{
    m_compare->Stop();
}

void CPageMatch::ApplyColourScheme()
{
    // A scheme without "nColors" draws every line in its one colour (black unless the scheme names it).
    m_plot->SetColours(MatchLineColours(CColorScheme::LoadCurrent(1)));
}

void CPageMatch::OnActivated()
{
    ApplyColourScheme();
}

void CPageMatch::UpdateToolBar()
{
    m_toolBar->SetButtonsEnabled(m_plot->HasData());
}

void CPageMatch::OnSelectFiles()
{
    std::string& lastThis = LastThisPath();
    std::string& lastOther = LastOtherPath();
    if (lastThis.empty() && lastOther.empty()) {
        lastThis = m_this.SourcePath;
        lastOther = m_other.SourcePath;
    }
    std::string filter;
    try {
        filter = DatasystemPlugins().BuildChromatogramFilter();
    } catch (const CUserException&) {
        return; // the plug-in list said why
    }
    CFileChoice request;
    request.kind = CFileChoice::Open;
    request.defaultSuffix = QStringLiteral("ChromLibEntry");
    request.filter = filter;
    request.filterIndex = LoadLastFileTypeIndex();
    request.initialFile = ToQString(lastThis);
    request.initialFolder = FolderOfPath(ToQString(lastThis));
    const CFileChoiceResult first = ChooseFile(this, request);
    if (first.path.isEmpty())
        return;
    lastThis = ToStdString(first.path);
    RememberChromatogramFilter(first.filterIndex);

    request.initialFile = ToQString(lastOther);
    request.filterIndex = first.filterIndex;
    const CFileChoiceResult second = ChooseFile(this, request);
    if (second.path.isEmpty())
        return;
    lastOther = ToStdString(second.path);
    RememberChromatogramFilter(second.filterIndex);
    ShowMatch(lastThis, lastOther);
}

void CPageMatch::OnParameters()
{
    if (!CSearchOptionsUI::Edit(this, QStringLiteral("Compare Options"), m_options,
                                {CSearchOptionsUI::Basic, CSearchOptionsUI::MassSpec, CSearchOptionsUI::RICalibration}))
        return;
    ApplyColourScheme();
    StartCompare();
}

bool CPageMatch::ShowMatch(const std::string& thisPath, const std::string& otherPath)
{
    if (ArePathsSimilar(thisPath, otherPath) &&
        !Messages().AskYesNo("The file names\n'" + thisPath + "' and\n'" + otherPath +
                                 "'\n are very similar or identical.\n\nAre you sure you like to see the match?",
                             "Warning", MessageIcon::Exclamation))
        return false;
    // Reading a raw run can take seconds: both files are read by the page's job, then shown, then compared.
    m_compare->Start([this, thisPath, otherPath,
                      options = CSearchOptions(m_options)](CJobWorker::CJob& job, const CLatestJob::Deliver& deliver) {
        auto inputs = std::make_shared<CChromatogramMatchInputs>();
        try {
            if (!ReadChromatogramMatchInputs(thisPath, otherPath, options, *inputs))
                return; // the reader has said why; the plot keeps what it showed
        } catch (const std::bad_alloc&) {
            ShowMessage("Out of memory while reading '" + thisPath + "' and '" + otherPath + "'.", "Corvelinscope",
                        MessageIcon::Stop);
            return;
        }
        if (!job.Running())
            return;
        deliver([this, inputs] { Show(*inputs); });
        CompareAndDeliver(inputs->This, inputs->Other, options, job, deliver);
    });
    return true;
}

void CPageMatch::Show(const CChromatogramMatchInputs& inputs)
{
    if (!inputs.RIWarning.empty())
        Messages().ShowMessage(inputs.RIWarning, "Corvelinscope", MessageIcon::Exclamation);
    // Copies: the job compares the read chromatograms meanwhile.
    m_this = CLibraryChromatogram(inputs.This);
    m_other = CLibraryChromatogram(inputs.Other);
    ApplyColourScheme();
    m_plot->SetChromatograms(m_this, m_other);
    UpdateToolBar();
}

} // namespace corvelin
