#pragma once
// Shows the wait cursor for the lifetime of the object (nests: each object restores its own).
#include <QApplication>
#include <QCursor>

namespace corvelin {

class CWaitCursor {
public:
    CWaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~CWaitCursor() { QApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

} // namespace corvelin
