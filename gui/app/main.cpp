// corvelinscope: the desktop program.
#include <QApplication>
#include <string>
#include <vector>

#include "gui/app/LibraryManagerApp.h"
#include "gui/app/QtMessageSink.h"

using namespace corvelin;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvelinscope"));
    QApplication::setOrganizationName(QStringLiteral("Felsmark Labs"));
    CQtMessageSinkScope messages;

    std::vector<std::string> args(argv, argv + argc);
    CLibraryManagerApp manager(std::move(args));
    return manager.Run();
}
