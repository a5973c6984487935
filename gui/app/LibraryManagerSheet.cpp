#include "gui/app/LibraryManagerSheet.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <optional>

#include "engine/platform/HelpFile.h"
#include "gui/app/HelpKey.h"
#include "gui/app/HelpWindow.h"
#include "gui/widgets/QtText.h"
#include "gui/options/DialogOptions.h"
#include "gui/options/ParameterFileDialogs.h"
#include "engine/options/ProgramOptions.h"
#include "gui/pages/PageChromatogramAdd.h"
#include "gui/pages/MassSpecReport.h"
#include "gui/pages/PageHandOffs.h"
#include "gui/pages/PageLibrarySearch.h"
#include "gui/pages/PageMatrixCompare.h"
#include "gui/pages/PageMatch.h"
#include "gui/pages/PageOverlayPlot.h"
#include "gui/pages/PageMultiSummary.h"
#include "gui/pages/PagePeakMatchTable.h"
#include "gui/pages/PagePlaceholder.h"
#include "engine/platform/MessageSink.h"

namespace corvelin {

namespace {

// The program icon: a small chromatogram trace; the second icon (started with arguments) is drawn in orange.
QIcon ProgramIcon(bool second)
{
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor frame = second ? QColor(200, 110, 20) : QColor(20, 70, 150);
        p.setBrush(QColor(250, 250, 245));
        p.setPen(QPen(frame, size / 16.0 + 0.5));
        p.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 8.0, size / 8.0);
        QPainterPath trace;
        const double base = size * 0.8;
        trace.moveTo(size * 0.1, base);
        const double peaks[][3] = {{0.3, 0.25, 0.05}, {0.5, 0.55, 0.04}, {0.72, 0.15, 0.05}};
        for (const auto& peak : peaks) {
            const double cx = size * peak[0], top = size * peak[1], w = size * peak[2];
            trace.lineTo(cx - 2 * w, base);
            trace.cubicTo(cx - w, base, cx - w * 0.6, top, cx, top);
            trace.cubicTo(cx + w * 0.6, top, cx + w, base, cx + 2 * w, base);
        }
        trace.lineTo(size * 0.9, base);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(frame, size / 20.0 + 0.6));
        p.drawPath(trace);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

struct PageSpec {
    const char* title;
    std::optional<OptionalPage> option; // none: always shown
};

// Tab order, titles and visibility options of the pages.
constexpr PageSpec kPages[IPageHost::PageCount] = {
    {"Library Search", std::nullopt},
    {"Match Matrix", std::nullopt},
    {"Add Chromatogram", OptionalPage::ChromatogramAdd},
    {"Mass Spec Match Report", OptionalPage::MassSpecReport},
    {"Overlay Plot", OptionalPage::OverlayPlot},
    {"Chromatogram Match", OptionalPage::ChromatogramMatch},
    {"Peak Match Table", OptionalPage::PeakMatchTable},
    {"Multiple Chromatogram Peak List", OptionalPage::MultiSummary},
};

} // namespace

CLibraryManagerSheet::CLibraryManagerSheet(bool startedWithArguments, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Corvelinscope"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(ProgramIcon(startedWithArguments));
    setSizeGripEnabled(true);

    for (int id = 0; id < PageCount; ++id) {
        const PageSpec& spec = kPages[id];
        m_added[id] = !spec.option || IsPageShown(*spec.option);
        const QString title = QString::fromLatin1(spec.title);
        CMainPage* page = nullptr;
        if (id == LibrarySearch)
            page = new CPageLibrarySearch(m_options, this);
        else if (id == ChromatogramAdd)
            page = new CPageChromatogramAdd(m_options, this);
        else if (id == MatchMatrix)
            page = new CPageMatrixCompare(m_options, this);
        else if (id == OverlayPlot)
            page = new CPageOverlayPlot(m_options, this);
        else if (id == ChromatogramMatch)
            page = new CPageMatch(m_options, this);
        else if (id == PeakMatchTable)
            page = new CPagePeakMatchTable(m_options, this);
        else if (id == MassSpecReport)
            page = new CMassSpecReport(m_options, this);
        else if (id == MultiSummary)
            page = new CPageMultiSummary(m_options, this);
        else
            page = new CPagePlaceholder(m_options, title, this);
        page->SetHost(this);
        page->hide();
        m_pages[id] = page;
    }

    auto* layout = new QVBoxLayout(this);
    BuildMenus();
    m_tabs = new QTabWidget(this);
    m_tabs->setDocumentMode(false);
    for (int id = 0; id < PageCount; ++id)
        if (m_added[id])
            m_tabs->addTab(m_pages[id], m_pages[id]->Title());
    layout->addWidget(m_tabs, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CLibraryManagerSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CLibraryManagerSheet::reject);
    layout->addWidget(buttons);

    m_tabs->setCurrentIndex(0);
    m_currentTab = 0;
    InstallHelpKey(*this);
    connect(m_tabs, &QTabWidget::currentChanged, this, &CLibraryManagerSheet::OnTabChanged);

    // The window cannot be made smaller than its initial height or narrower than its buttons need.
    resize(980, 640);
    setMinimumHeight(sizeHint().height());
    setMinimumWidth(buttons->sizeHint().width() + 40);
}

CLibraryManagerSheet::~CLibraryManagerSheet() = default;

CPageLibrarySearch* CLibraryManagerSheet::LibrarySearchPage() const noexcept
{
    return static_cast<CPageLibrarySearch*>(m_pages[LibrarySearch]);
}

CPageChromatogramAdd* CLibraryManagerSheet::ChromatogramAddPage() const noexcept
{
    return static_cast<CPageChromatogramAdd*>(m_pages[ChromatogramAdd]);
}

CMainPage* CLibraryManagerSheet::Page(PageId id) const noexcept
{
    return id >= 0 && id < PageCount ? m_pages[id] : nullptr;
}

bool CLibraryManagerSheet::IsPageAdded(PageId id) const noexcept
{
    return id >= 0 && id < PageCount && m_added[id];
}

CMainPage* CLibraryManagerSheet::ActivePage() const
{
    return static_cast<CMainPage*>(m_tabs->currentWidget());
}

bool CLibraryManagerSheet::ActivatePage(PageId id)
{
    if (!IsPageAdded(id))
        return false;
    const int index = m_tabs->indexOf(m_pages[id]);
    if (index == m_tabs->currentIndex())
        return true;
    m_tabs->setCurrentIndex(index);
    return m_tabs->currentIndex() == index;
}

void CLibraryManagerSheet::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    for (int id = PageCount - 1; id >= 0; --id)
        if (m_added[id])
            m_pages[id]->OnWindowCreated();
}

void CLibraryManagerSheet::OnTabChanged(int index)
{
    if (m_revertingTab)
        return;
    auto* previous = static_cast<CMainPage*>(m_tabs->widget(m_currentTab));
    if (previous && previous != m_tabs->widget(index) && !previous->CanLeave()) {
        // A page that may not be left (a running search) keeps the focus; it has beeped.
        m_revertingTab = true;
        m_tabs->setCurrentIndex(m_currentTab);
        m_revertingTab = false;
        return;
    }
    m_currentTab = index;
    if (auto* page = static_cast<CMainPage*>(m_tabs->widget(index)))
        page->OnActivated();
}

void CLibraryManagerSheet::BuildMenus()
{
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);

    m_fileMenu = bar->addMenu(QStringLiteral("&File"));
    m_fileMenu->addAction(QStringLiteral("&Open search parameter file ..."), this,
                          &CLibraryManagerSheet::OnOpenParameterFile);
    m_fileMenu->addAction(QStringLiteral("&Save current search parameters as ..."), this,
                          &CLibraryManagerSheet::OnSaveParameterFile);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(QStringLiteral("E&xit"), this, &CLibraryManagerSheet::OnExit);

    m_printMenu = bar->addMenu(QStringLiteral("&Print"));
    m_printMatrix = m_printMenu->addAction(QStringLiteral("Match Matrix ..."), this, [this] {
        if (ActivePage() == m_pages[MatchMatrix])
            static_cast<CPageMatrixCompare*>(m_pages[MatchMatrix])->OnPrintMatrix();
    });
    m_printSearch = m_printMenu->addAction(QStringLiteral("Library Search Results ..."), this, [this] {
        if (ActivePage() == m_pages[LibrarySearch])
            LibrarySearchPage()->OnPrintHitList();
    });

    m_extrasMenu = bar->addMenu(QStringLiteral("E&xtras"));
    m_extrasMenu->addAction(QStringLiteral("&Options ..."), this, &CLibraryManagerSheet::OnProgramOptions);
    // Handled by the page that shows a graphic (match matrix, overlay plot).
    m_copyGraphic = m_extrasMenu->addAction(QStringLiteral("Copy graphic to clipboard"));
    connect(m_copyGraphic, &QAction::triggered, this, [this] {
        if (CMainPage* page = m_tabs ? ActivePage() : nullptr; page && page->CanCopyGraphic())
            page->CopyGraphic();
    });

    m_helpMenu = bar->addMenu(QStringLiteral("&?"));
    m_helpMenu->addAction(QStringLiteral("&Manual ..."), this, [this] { ShowHelp(kHelpIndex); });
    m_helpMenu->addAction(QStringLiteral("&About Corvelinscope ..."), this, &CLibraryManagerSheet::OnAbout);

    for (QMenu* menu : {m_fileMenu, m_printMenu, m_extrasMenu, m_helpMenu})
        connect(menu, &QMenu::aboutToShow, this, &CLibraryManagerSheet::UpdateMenuItems);
    UpdateMenuItems();
}

void CLibraryManagerSheet::UpdateMenuItems()
{
    // The main window's own items are always enabled; page items follow their page's rule; the rest is off.
    CPageLibrarySearch* search = LibrarySearchPage();
    m_printSearch->setEnabled(m_tabs && ActivePage() == search && search->CanPrintHitList());
    auto* matrix = static_cast<CPageMatrixCompare*>(m_pages[MatchMatrix]);
    m_printMatrix->setEnabled(m_tabs && ActivePage() == matrix && matrix->HasMatrix());
    m_copyGraphic->setEnabled(m_tabs && ActivePage() && ActivePage()->CanCopyGraphic());
}

QAction* CLibraryManagerSheet::MenuAction(const QString& text) const
{
    for (QMenu* menu : {m_fileMenu, m_printMenu, m_extrasMenu, m_helpMenu})
        for (QAction* action : menu->actions())
            if (action->text() == text)
                return action;
    return nullptr;
}

void CLibraryManagerSheet::OnOpenParameterFile()
{
    if (ReadParameterFileDialog(this, m_options) != QDialog::Accepted)
        return;
    for (int id = 0; id < PageCount; ++id)
        if (m_added[id])
            m_pages[id]->RefreshControls();
}

void CLibraryManagerSheet::OnSaveParameterFile()
{
    for (int id = 0; id < PageCount; ++id)
        if (m_added[id] && !m_pages[id]->StoreControls())
            return;
    WriteParameterFileDialog(this, m_options);
}

void CLibraryManagerSheet::OnExit()
{
    // The pages must not go away while the search worker still writes to its page: refuse like OK and Cancel.
    if (LibrarySearchPage()->IsRunning()) {
        Messages().Beep();
        return;
    }
    done(QDialog::Accepted);
}

void CLibraryManagerSheet::EndWithoutQuestions()
{
    done(QDialog::Accepted);
}

void CLibraryManagerSheet::PostOk()
{
    QMetaObject::invokeMethod(this, &CLibraryManagerSheet::accept, Qt::QueuedConnection);
}

PageHandOff CLibraryManagerSheet::ShowChromatogramMatch(const std::string& thisPath, const std::string& otherPath)
{
    auto* target = dynamic_cast<IMatchTarget*>(m_pages[ChromatogramMatch]);
    if (!target || !IsPageAdded(ChromatogramMatch))
        return PageHandOff::Missing;
    if (target->ShowMatch(thisPath, otherPath))
        ActivatePage(ChromatogramMatch);
    return PageHandOff::Done;
}

PageHandOff CLibraryManagerSheet::BuildMatchMatrix(const std::string& thisPath, const std::string& otherPath)
{
    auto* target = dynamic_cast<IMatrixTarget*>(m_pages[MatchMatrix]);
    if (!target)
        return PageHandOff::Missing;
    target->SetPathsAndBuild(thisPath, otherPath);
    ActivatePage(MatchMatrix);
    return PageHandOff::Done;
}

PageHandOff CLibraryManagerSheet::BuildPeakMatchTable(const std::string& thisPath, const std::string& otherPath)
{
    if (!IsPageAdded(PeakMatchTable))
        return PageHandOff::Disabled;
    auto* target = dynamic_cast<IPeakTableTarget*>(m_pages[PeakMatchTable]);
    if (!target)
        return PageHandOff::Missing;
    ActivatePage(PeakMatchTable);
    target->SetPathsAndBuild(thisPath, otherPath);
    return PageHandOff::Done;
}

PageHandOff CLibraryManagerSheet::AddToOverlay(const std::vector<std::string>& paths)
{
    if (!IsPageAdded(OverlayPlot))
        return PageHandOff::Disabled;
    auto* target = dynamic_cast<IOverlayTarget*>(m_pages[OverlayPlot]);
    if (!target)
        return PageHandOff::Missing;
    for (const std::string& path : paths)
        target->AddOverlayFile(path);
    ActivatePage(OverlayPlot);
    return PageHandOff::Done;
}

void CLibraryManagerSheet::OnAbout()
{
    const QString version = QStringLiteral(CORVELIN_PRODUCT_VERSION).trimmed();
    QMessageBox::about(this, QStringLiteral("About Corvelinscope"),
                       QStringLiteral("<h3>Corvelinscope</h3><p>Version %1</p>"
                                      "<p>Identifies GC-MS samples by comparing whole chromatograms, peak by peak, "
                                      "with a library of reference chromatograms.</p>")
                           .arg(version.toHtmlEscaped()));
}

void CLibraryManagerSheet::ShowHelp(int context)
{
    if (!m_helpWindow)
        m_helpWindow = new CHelpWindow(this);
    // A modal dialog blocks every window that is not its own, so help asked for inside one opens in a help window
    // of that dialog's: it can be scrolled and closed while the dialog waits, and goes with it.
    CHelpWindow* help = m_helpWindow;
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != this && modal != m_helpWindow && !qobject_cast<CHelpWindow*>(modal)) {
        help = modal->findChild<CHelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
        if (!help)
            help = new CHelpWindow(modal);
    }
    m_shownHelp = help;
    help->ShowContext(m_helpPath.empty() ? HelpIndexPath() : m_helpPath, context);
}

CHelpWindow* CLibraryManagerSheet::HelpWindow() const
{
    return m_shownHelp ? m_shownHelp.data() : m_helpWindow;
}

int CLibraryManagerSheet::ActivePageHelpContext() const
{
    for (int id = 0; id < PageCount; ++id)
        if (m_pages[id] == ActivePage())
            return id + 1; // kHelpLibrarySearch ... kHelpMultiSummary follow the tab order
    return kHelpIndex;
}

void CLibraryManagerSheet::OnProgramOptions()
{
    if (CDialogOptions::Run(this))
        ApplyShownPages();
}

void CLibraryManagerSheet::ApplyShownPages()
{
    for (int id = 0; id < PageCount; ++id) {
        if (!kPages[id].option || IsPageShown(*kPages[id].option) == m_added[id])
            continue;
        CMainPage* page = m_pages[id];
        if (m_added[id]) {
            // The page goes; while it is the one shown, the user leaves it for the first tab (a page that may not
            // be left, such as one still running, keeps its tab until the next start).
            if (m_tabs->currentWidget() == page && !ActivatePage(LibrarySearch))
                continue;
            m_revertingTab = true;
            m_tabs->removeTab(m_tabs->indexOf(page));
            page->hide();
            m_revertingTab = false;
            m_added[id] = false;
        } else {
            int at = 0;
            for (int before = 0; before < id; ++before)
                at += m_added[before] ? 1 : 0;
            m_revertingTab = true;
            m_tabs->insertTab(at, page, page->Title());
            m_revertingTab = false;
            m_added[id] = true;
        }
        m_currentTab = m_tabs->currentIndex();
    }
}

void CLibraryManagerSheet::accept()
{
    CPageLibrarySearch* search = LibrarySearchPage();
    if (search->IsRunning()) {
        Messages().Beep();
        return;
    }
    if (!search->ResultsSaved()) {
        const MessageAnswer answer = Messages().AskYesNoCancel(
            "Your results have not been saved.\nDo you want to save the search results before exiting now?", {},
            MessageIcon::Question);
        if (answer == MessageAnswer::Cancel)
            return;
        if (answer == MessageAnswer::Yes)
            search->OnSaveReportFile();
    }
    if (CMainPage* active = ActivePage(); active && !active->StoreControls())
        return;
    for (PageId id : {LibrarySearch, MatchMatrix}) {
        CMainPage* page = m_pages[id];
        if (!m_added[id])
            continue; // the page has no window
        if (!page->isVisible() || page->StoreControls())
            m_options.SaveLastUsed();
    }
    QDialog::accept();
}

void CLibraryManagerSheet::reject()
{
    CPageLibrarySearch* search = LibrarySearchPage();
    if (search->IsRunning()) {
        Messages().Beep();
        return;
    }
    if (!search->ResultsSaved() && !Messages().AskYesNo("Exit without saving your results?", {}, MessageIcon::Question))
        return;
    QDialog::reject();
}

} // namespace corvelin
