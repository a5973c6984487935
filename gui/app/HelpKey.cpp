#include "gui/app/HelpKey.h"

#include <QApplication>
#include <QKeyEvent>

#include "engine/platform/HelpFile.h"
#include "gui/app/LibraryManagerSheet.h"
#include "gui/options/DialogOptions.h"
#include "gui/options/SearchOptionsUI.h"
#include "gui/widgets/ColumnArrange.h"

namespace corvelin {

namespace {

class HelpKeyFilter : public QObject {
public:
    explicit HelpKeyFilter(CLibraryManagerSheet& sheet) : QObject(&sheet), m_sheet(sheet) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1 ||
            static_cast<QKeyEvent*>(event)->modifiers() != Qt::NoModifier)
            return QObject::eventFilter(watched, event);
        // A key press reaches the filter once for the focus widget and again for each parent it is passed to.
        auto* widget = qobject_cast<QWidget*>(watched);
        // Taken where it starts: at the focus widget, or at a window it was sent to directly.
        if (!widget || (QApplication::focusWidget() && widget != QApplication::focusWidget() && !widget->isWindow()))
            return QObject::eventFilter(watched, event);
        m_sheet.ShowHelp(HelpContextOf(widget->window(), m_sheet));
        return true;
    }

private:
    CLibraryManagerSheet& m_sheet;
};

} // namespace

int HelpContextOf(const QWidget* window, const CLibraryManagerSheet& sheet)
{
    if (qobject_cast<const CSearchOptionsUI*>(window))
        return kHelpSearchOptions;
    if (qobject_cast<const CDialogOptions*>(window))
        return kHelpProgramOptions;
    if (qobject_cast<const CColumnArrange*>(window))
        return kHelpColumnArrangement;
    if (window == &sheet)
        return sheet.ActivePageHelpContext();
    return kHelpIndex;
}

void InstallHelpKey(CLibraryManagerSheet& sheet)
{
    qApp->installEventFilter(new HelpKeyFilter(sheet));
}

} // namespace corvelin
