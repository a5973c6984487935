// corvelinscope: the desktop program.
#include <QApplication>
#include <string>
#include <vector>

#include "gui/app/LibraryManagerApp.h"
#include "gui/app/QtMessageSink.h"
#include "engine/platform/PendingTemporaryFile.h"

using namespace corvelin;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvelinscope"));
    QApplication::setOrganizationName(QStringLiteral("Felsmark Labs"));
    CQtMessageSinkScope messages;
    InstallTemporaryFileCleanup(); // Ctrl-C or a kill while an entry is written leaves no temporary file

    std::vector<std::string> args(argv, argv + argc);
    CLibraryManagerApp manager(std::move(args));
    return manager.Run();
}
