#pragma once
// F1 anywhere in the program asks the main window for help on what the user looks at: the options sheet, the
// program options, the column arrangement, or else the main window's active page.
class QWidget;

namespace corvelin {

class CLibraryManagerSheet;

// The help context of a top-level window of the program (HelpFile.h); 0 (the index) for any other window.
int HelpContextOf(const QWidget* window, const CLibraryManagerSheet& sheet);

// Installs the application-wide F1 handler that calls sheet.OnHelp(); it goes away with the sheet.
void InstallHelpKey(CLibraryManagerSheet& sheet);

} // namespace corvelin
