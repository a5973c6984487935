#include "gui/pages/PageOverlayPlot.h"
#include "gui/pages/RICalibrationEditor.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include "engine/core/Exceptions.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/ProgramOptions.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/workflow/InputReader.h"
#include "engine/views/OverlayRules.h"
#include "gui/options/ParameterFileDialogs.h"
#include "gui/pages/PlotToolBar.h"
#include "gui/plots/MultiChromatogramPlot.h"
#include "gui/widgets/FileDialogs.h"
#include "gui/widgets/QtText.h"

namespace corvelin {

CPageOverlayPlot::CPageOverlayPlot(CSearchOptions& options, QWidget* parent)
    : CMainPage(options, QStringLiteral("Overlay Plot"), parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    m_toolBar = new CPlotToolBar(this);
    top->addWidget(m_toolBar);
    m_files = new QComboBox(this);
    m_files->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_files->setMinimumContentsLength(30);
    top->addWidget(m_files, 1);
    m_add = new QPushButton(QStringLiteral("Add"), this);
    m_remove = new QPushButton(QStringLiteral("Remove"), this);
    top->addWidget(m_add);
    top->addWidget(m_remove);
    layout->addLayout(top);
    m_plot = new CMultiChromatogramPlot(this);
    m_plot->SetRICalibrationEditor(EditRICalibrationSheet);
    layout->addWidget(m_plot, 1);

    connect(m_add, &QPushButton::clicked, this, &CPageOverlayPlot::OnAdd);
    connect(m_remove, &QPushButton::clicked, this, &CPageOverlayPlot::OnRemove);
    connect(m_files, &QComboBox::activated, this, &CPageOverlayPlot::Choose);
    connect(m_plot, &CMultiChromatogramPlot::CommandIssued, this, &CPageOverlayPlot::OnPlotCommand);
    connect(m_toolBar->MoveLeft(), &QAction::triggered, m_plot, &CMultiChromatogramPlot::MoveLeft);
    connect(m_toolBar->MoveRight(), &QAction::triggered, m_plot, &CMultiChromatogramPlot::MoveRight);
    connect(m_toolBar->FullRTRange(), &QAction::triggered, m_plot, &CMultiChromatogramPlot::ShowFullRTRange);
    connect(m_toolBar->FullHeight(), &QAction::triggered, m_plot, &CMultiChromatogramPlot::ShowFullHeight);
    connect(m_toolBar->ResetScale(), &QAction::triggered, m_plot, &CMultiChromatogramPlot::ShowFullScale);
    UpdateControls();
}

CPageOverlayPlot::~CPageOverlayPlot() = default;

void CPageOverlayPlot::UpdateControls()
{
    m_toolBar->SetButtonsEnabled(m_plot->Count() > 0);
    m_remove->setEnabled(m_files->currentIndex() >= 0);
}

void CPageOverlayPlot::OnAdd()
{
    std::string filter;
    try {
        filter = DatasystemPlugins().BuildChromatogramFilter();
    } catch (const CUserException&) {
        return;
    }
    const QString current = m_files->currentText();
    CFileChoice request;
    request.kind = CFileChoice::Open;
    request.filter = filter;
    request.initialFile = current;
    request.initialFolder = FolderOfPath(current);
    for (;;) {
        request.filterIndex = LoadLastFileTypeIndex();
        const CFileChoiceResult choice = ChooseFile(this, request);
        if (choice.path.isEmpty())
            return;
        if (AddPath(ToStdString(choice.path))) {
            RememberChromatogramFilter(choice.filterIndex);
            return;
        }
    }
}

bool CPageOverlayPlot::AddPath(const std::string& path)
{
    if (m_plot->Model().Find(path) >= 0)
        return true;
    CLibraryChromatogram chromatogram;
    if (!ReadInput(path, m_options, InputUse::OverlayFile, chromatogram).Read)
        return false;
    m_files->addItem(ToQString(path));
    // The drop-down part is as wide as its widest text.
    int widest = 0;
    const QFontMetrics metrics(m_files->font());
    for (int i = 0; i < m_files->count(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(m_files->itemText(i)));
    m_files->view()->setMinimumWidth(widest + 2 * m_files->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) +
                                     m_files->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    m_plot->AddChromatogram(chromatogram);
    m_plot->ShowFullScale();
    const int added = m_files->count() - 1;
    m_files->setCurrentIndex(added);
    Choose(added);
    return true;
}

void CPageOverlayPlot::ApplyEntryColour(int index, bool chosen)
{
    if (index < 0 || index >= m_files->count())
        return;
    const int plotIndex = m_plot->Model().Find(ToStdString(m_files->itemText(index)));
    if (plotIndex < 0)
        return;
    CPlotProperties& properties = m_plot->Model().Properties(plotIndex);
    properties.Colour = chosen ? kChosenOverlayColour : OverlayColour(index);
    properties.PenWidth = chosen ? kChosenOverlayPenWidth : 1;
}

void CPageOverlayPlot::Choose(int index)
{
    if (m_previousSelection >= 0)
        ApplyEntryColour(m_previousSelection, false);
    m_previousSelection = index;
    ApplyEntryColour(index, true);
    m_plot->update();
    UpdateControls();
}

void CPageOverlayPlot::OnRemove()
{
    const int current = m_files->currentIndex();
    if (current < 0)
        return;
    m_plot->RemoveChromatogram(ToStdString(m_files->itemText(current)));
    m_plot->ShowFullScale();
    // The entry before becomes the chosen one (none when the first one goes); the highlight follows it.
    m_previousSelection = -1;
    const int before = current - 1;
    m_files->removeItem(current);
    for (int i = 0; i < m_files->count(); ++i)
        ApplyEntryColour(i, false);
    m_files->setCurrentIndex(before);
    Choose(before);
}

void CPageOverlayPlot::OnEditRICalibration()
{
    const int chosen = m_files->currentIndex();
    if (chosen < 0)
        return;
    const int plotIndex = m_plot->Model().Find(ToStdString(m_files->itemText(chosen)));
    if (plotIndex >= 0)
        m_plot->EditRICalibration(plotIndex);
}

void CPageOverlayPlot::OnPlotCommand(int command)
{
    if (command == CMultiChromatogramPlot::kMoveLeft)
        m_plot->MoveLeft();
    else if (command == CMultiChromatogramPlot::kMoveRight)
        m_plot->MoveRight();
    else if (command == CMultiChromatogramPlot::kRecalibrateRI)
        OnEditRICalibration();
}

bool CPageOverlayPlot::CanCopyGraphic() const
{
    return m_plot->Count() > 0;
}

void CPageOverlayPlot::CopyGraphic()
{
    if (!CanCopyGraphic())
        return;
    QClipboard* clipboard = QApplication::clipboard();
    if (clipboard == nullptr) {
        Messages().ShowMessage("Can't open Clipboard", "Matrix", MessageIcon::None);
        return;
    }
    clipboard->clear();
    clipboard->setImage(m_plot->grab().toImage());
}

void CPageOverlayPlot::ForwardToPlot(QMouseEvent* event)
{
    const QPointF local = m_plot->mapFrom(this, event->position());
    QMouseEvent forwarded(event->type(), local, event->globalPosition(), event->button(), event->buttons(),
                          event->modifiers());
    QCoreApplication::sendEvent(m_plot, &forwarded);
}

void CPageOverlayPlot::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        ForwardToPlot(event);
}

void CPageOverlayPlot::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        ForwardToPlot(event);
}

} // namespace corvelin
