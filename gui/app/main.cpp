// corvelinscope: the desktop program.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gui/app/GuardedApplication.h"
#include "gui/app/LibraryManagerApp.h"
#include "gui/app/QtMessageSink.h"
#include "engine/platform/PendingTemporaryFile.h"
#include "engine/workflow/commands/CommandKeyword.h"

using namespace corvelin;

int main(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(UsageText(kDesktopProgram).c_str(), stdout);
            return 0;
        }
    CGuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvelinscope"));
    QApplication::setOrganizationName(QStringLiteral("Felsmark Labs"));
    CQtMessageSinkScope messages;
    InstallTemporaryFileCleanup(); // Ctrl-C or a kill while an entry is written leaves no temporary file

    std::vector<std::string> args(argv, argv + argc);
    CLibraryManagerApp manager(std::move(args));
    return manager.Run();
}
