#include "gui/app/GuardedApplication.h"

#include <exception>
#include <new>
#include <string>

#include "engine/platform/MessageSink.h"

namespace corvelin {

bool DeliverReportingFailure(const std::function<bool()>& deliver)
{
    std::string what;
    try {
        return deliver();
    } catch (const std::bad_alloc&) {
        what = "Out of memory: the last action was not finished.";
    } catch (const std::exception& e) {
        what = std::string("Internal error: ") + e.what() + "\nThe last action was not finished.";
    } catch (...) {
        what = "Internal error of an unknown kind: the last action was not finished.";
    }
    try {
        ShowMessage(what, "Corvelinscope", MessageIcon::Stop);
    } catch (...) {
    }
    return false;
}

bool CGuardedApplication::notify(QObject* receiver, QEvent* event)
{
    return DeliverReportingFailure([&] { return QApplication::notify(receiver, event); });
}

} // namespace corvelin
