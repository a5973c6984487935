#include "gui/app/LibraryManagerApp.h"

#include <QTimer>

#include "gui/app/LibraryManagerSheet.h"
#include "gui/app/QtMessageSink.h"

#include "engine/core/Exceptions.h"
#include "engine/options/SearchParameterFile.h"
#include "gui/pages/PageChromatogramAdd.h"
#include "gui/pages/PageLibrarySearch.h"
#include "engine/platform/HelpFile.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/platform/MessageSink.h"
#include "engine/workflow/BatchExitCode.h"
#include "engine/workflow/CommandLine.h"
#include "engine/workflow/FileArgument.h"
#include "engine/workflow/commands/StartupCommandLine.h"
#include "engine/workflow/commands/StdioJobSink.h"

namespace corvelin {

CLibraryManagerApp::CLibraryManagerApp(std::vector<std::string> args) : m_args(std::move(args)) {}

CLibraryManagerApp::~CLibraryManagerApp()
{
    TearDown();
}

bool CLibraryManagerApp::Start()
{
    // The settings identity (company key, profile name) is fixed in the settings store of the program.
    m_startup.LoadLastUsed("Global");
    m_helpPath = HelpIndexPath();

    m_sheet = std::make_unique<CLibraryManagerSheet>(m_args.size() > 1);
    m_sheet->SetHelpPath(m_helpPath);
    // A batch run (search or conversion) never waits for a message box: messages go to stderr.
    const bool batchRun = NamesCommand(m_args, {CommandKind::Search, CommandKind::Convert});
    if (auto* sink = dynamic_cast<CQtMessageSink*>(&Messages()))
        sink->SetBatch(batchRun);
    try {
        CreateDatasystemPlugins();
    } catch (const CUserException&) {
        TearDown();
        return false; // "Error reading number of file types plugins." was shown
    }

    CStdioJobSink notes;
    const CCommandLine line = ParseStartupCommandLine(m_args, m_startup, kDesktopProgram, notes);
    // A file given without a keyword is this program's "open with" (below), not an unknown argument.
    const CFileArgument file = FindFileArgument(m_args);

    CPageLibrarySearch* search = m_sheet->LibrarySearchPage();
    search->Session.ApplyCommandLine(line);
    search->BatchSearch = line.IsBatchSearch();

    CPageChromatogramAdd* add = m_sheet->ChromatogramAddPage();
    if (line.IsBatchConversion()) {
        add->DataFile = line.ConvertFile;
        // Without the page's tab nothing is converted and the window opens normally.
        add->BatchConvert = m_sheet->IsPageAdded(CLibraryManagerSheet::ChromatogramAdd);
    }
    if (line.MinAreaGiven) {
        add->MinAreaOn = line.MinAreaOn;
        add->MinArea = line.MinArea;
    }

    // A file given without a keyword (the desktop's "open with"): a parameter file is loaded like "/Params=" after
    // the other options; any other file is shown on "Add Chromatogram" with "just display" once the window is up.
    const bool batch = line.IsBatchSearch() || line.IsBatchConversion();
    if (!file.Path.empty() && !batch) {
        if (file.IsParameterFile)
            ReadParameterFile(m_startup, file.Path);
        else if (m_sheet->IsPageAdded(CLibraryManagerSheet::ChromatogramAdd)) {
            add->DataFile = file.Path;
            QTimer::singleShot(0, m_sheet.get(), [sheet = m_sheet.get(), add] {
                if (sheet->ActivatePage(CLibraryManagerSheet::ChromatogramAdd))
                    add->OnJustDisplay();
            });
        }
    }

    m_sheet->Options() = m_startup;
    for (int id = 0; id < CLibraryManagerSheet::PageCount; ++id)
        m_sheet->Page(static_cast<CLibraryManagerSheet::PageId>(id))->RefreshControls();
    return true;
}

int CLibraryManagerApp::Run()
{
    if (!Start())
        return kExitNoPlugins;
    m_sheet->exec();
    // A batch run ends with the batch program's exit code.
    int code = kExitOk;
    if (m_sheet->LibrarySearchPage()->BatchSearch)
        code = m_sheet->LibrarySearchPage()->BatchResult;
    else if (m_sheet->ChromatogramAddPage()->BatchConvert)
        code = m_sheet->ChromatogramAddPage()->BatchResult;
    TearDown();
    return code;
}

void CLibraryManagerApp::TearDown()
{
    SetDatasystemPlugins(nullptr);
    m_sheet.reset();
}

} // namespace corvelin
