#pragma once
// The application object: fixes where settings live, loads the last-used options, creates the main window
// and the plug-in list, reads the command line into the start-up options and the pages' fields, runs the
// main window modally and tears down. The program's lifetime is the main window's.
#include <memory>
#include <string>
#include <vector>

#include "engine/options/SearchOptions.h"

namespace corvelin {

class CLibraryManagerSheet;

class CLibraryManagerApp {
public:
    // args: the program's arguments (args[0] = its path), as 8-bit texts.
    explicit CLibraryManagerApp(std::vector<std::string> args);
    ~CLibraryManagerApp();
    CLibraryManagerApp(const CLibraryManagerApp&) = delete;
    CLibraryManagerApp& operator=(const CLibraryManagerApp&) = delete;

    // Runs the whole start-up, the main window and the tear-down; returns the process exit code.
    int Run();

    // The manual's index installed beside the program (<program folder>../share/corvelinscope/manual/index.html).
    const std::string& HelpPath() const noexcept { return m_helpPath; }

    // The steps of Run up to the modal main window (tests drive the window themselves). False when start-up
    // ended (no plug-in registered, after the message).
    bool Start();
    CLibraryManagerSheet* MainWindow() const noexcept { return m_sheet.get(); }
    // Destroys the plug-in list, then the main window.
    void TearDown();

private:
    std::vector<std::string> m_args;
    CSearchOptions m_startup;
    std::string m_helpPath;
    std::unique_ptr<CLibraryManagerSheet> m_sheet;
};

} // namespace corvelin
