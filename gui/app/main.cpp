// corvelinscope: the desktop program.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gui/app/DesktopUsage.h"
#include "gui/app/LibraryManagerApp.h"
#include "gui/app/QtMessageSink.h"

using namespace corvelin;

int main(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(DesktopUsage(), stdout);
            return 0;
        }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvelinscope"));
    QApplication::setOrganizationName(QStringLiteral("Felsmark Labs"));
    CQtMessageSinkScope messages;

    std::vector<std::string> args(argv, argv + argc);
    CLibraryManagerApp manager(std::move(args));
    return manager.Run();
}
