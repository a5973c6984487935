#include "gui/pages/PageMatch.h"
#include "gui/pages/RICalibrationEditor.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "engine/core/Exceptions.h"
#include "engine/options/SearchOptions.h"
#include "engine/options/SettingsStore.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/plugins/ReadFromDataFile.h"
#include "engine/views/OverlayRules.h"
#include "engine/workflow/InputRICalibration.h"
#include "gui/options/ParameterFileDialogs.h"
#include "gui/options/SearchOptionsUI.h"
#include "gui/pages/PlotToolBar.h"
#include "gui/plots/MatchControl.h"
#include "gui/plots/MultiChromatogramPlot.h"
#include "gui/widgets/FileDialogs.h"
#include "gui/widgets/QtText.h"
#include "gui/widgets/WaitCursor.h"

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
    top->addWidget(m_selectFiles);
    top->addWidget(m_parameters);
    layout->addLayout(top);
    m_plot = new CMatchControl(m_options, this);
    for (int i = 0; i < 2; ++i)
        m_plot->Plot(i).SetRICalibrationEditor(EditRICalibrationSheet);
    layout->addWidget(m_plot, 1);

    connect(m_selectFiles, &QPushButton::clicked, this, &CPageMatch::OnSelectFiles);
    connect(m_parameters, &QPushButton::clicked, this, &CPageMatch::OnParameters);
    connect(m_toolBar->MoveLeft(), &QAction::triggered, m_plot, &CMatchControl::MoveLeft);
    connect(m_toolBar->MoveRight(), &QAction::triggered, m_plot, &CMatchControl::MoveRight);
    connect(m_toolBar->FullRTRange(), &QAction::triggered, m_plot, &CMatchControl::ShowFullRTRange);
    connect(m_toolBar->FullHeight(), &QAction::triggered, m_plot, &CMatchControl::ShowFullHeight);
    connect(m_toolBar->ResetScale(), &QAction::triggered, m_plot, &CMatchControl::ShowFullScale);
    UpdateToolBar();
}

CPageMatch::~CPageMatch() = default;

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
    request.filterIndex = GetSettingInt(SettingsScope::CurrentUser, "Corvelinscope", nullptr, "Last FileType Index", 0);
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
    m_plot->Recompare();
}

bool CPageMatch::ReadInput(const std::string& path, CLibraryChromatogram& target)
{
    const double minArea = m_options.AreaThresholdOn != 0 ? m_options.AreaThreshold : 0;
    std::string dataSystem;
    bool read = false;
    try {
        read = ReadFromDataFile(target, path, minArea, &dataSystem, true) == 1;
    } catch (const std::exception&) {
        read = false;
    }
    if (!read) {
        Messages().ShowMessage("Error reading file " + path, "Corvelinscope", MessageIcon::Stop);
        return false;
    }
    if (NeedsInputRICalibration(dataSystem, target))
        target.Recalibrate(m_options.RICalibration());
    return true;
}

bool CPageMatch::ShowMatch(const std::string& thisPath, const std::string& otherPath)
{
    if (ArePathsSimilar(thisPath, otherPath) &&
        !Messages().AskYesNo("The file names\n'" + thisPath + "' and\n'" + otherPath +
                                 "'\n are very similar or identical.\n\nAre you sure you like to see the match?",
                             "Warning", MessageIcon::Exclamation))
        return false;
    CWaitCursor wait;
    CLibraryChromatogram self, other;
    if (!ReadInput(thisPath, self) || !ReadInput(otherPath, other))
        return false;
    m_this = std::move(self);
    m_other = std::move(other);
    m_plot->SetChromatograms(m_this, m_other);
    UpdateToolBar();
    return true;
}

} // namespace corvelin
