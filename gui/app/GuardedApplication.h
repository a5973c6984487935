#pragma once
// The desktop program's application object: an exception that leaves an event handler (out of memory while a
// page reads a file, an unexpected engine error) is shown and ends that one action, not the program.
#include <QApplication>
#include <functional>

namespace corvelin {

// Runs deliver; when it throws, shows what happened through the message sink and returns false.
bool DeliverReportingFailure(const std::function<bool()>& deliver);

class CGuardedApplication : public QApplication {
public:
    CGuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace corvelin
