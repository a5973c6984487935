#pragma once
// The file-open, file-save and folder dialogs of the program, in one place: filters come in the system's
// "description|pattern|...||" form, the filter index is 1-based as stored in "Last FileType Index" (0 = the
// first). Tests answer the dialogs through a hook instead of showing them.
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

class QWidget;

namespace corvelin {

struct CFileChoice {
    enum Kind { Open, Save, Folder, OpenMultiple };
    Kind kind = Open;
    QString title;
    QString initialFolder;
    QString initialFile;
    std::string filter;  // "description|pattern|...||"; empty = all files
    int filterIndex = 0; // 1-based; 0 = the first
    QString defaultSuffix;
    // Save: an existing file is replaced only after the user says yes (the multi-file summary's export is
    // documented without that question).
    bool confirmOverwrite = true;
};

struct CFileChoiceResult {
    QString path;        // empty = cancelled
    int filterIndex = 0; // 1-based index of the filter in use when the dialog closed
    QStringList paths{}; // OpenMultiple: every chosen file (path is the first)
};

// Shows the dialog. A save dialog proposes its initial file with the default suffix (added when the file
// ends in another one) and, with confirmOverwrite, asks before an existing file is replaced: "No" opens the
// dialog again.
CFileChoiceResult ChooseFile(QWidget* parent, const CFileChoice& request);

// The file name a save dialog proposes: name with ".suffix" added unless it already ends in it (any case).
QString ProposedSaveName(const QString& name, const QString& suffix);

// The filter index a chromatogram file dialog starts on: the one last chosen in such a dialog ("Last FileType
// Index"), and "All known file types" (the last filter) when none was ever chosen.
int ChromatogramFilterIndex(const std::string& filter);
// The open dialog for a chromatogram data file, starting on ChromatogramFilterIndex; filter is the plug-in list's
// chromatogram filter. initialFile and defaultSuffix (without the dot) are optional.
CFileChoiceResult ChooseChromatogramFile(QWidget* parent, const QString& initialFolder, const std::string& filter,
                                         const QString& initialFile = {}, const QString& defaultSuffix = {});
// Remembers the filter of a chromatogram file dialog for the next one.
void RememberChromatogramFilter(int filterIndex);

// Qt name filters from "description|pattern|...||": a description that ends in a bracketed pattern list keeps
// its text with the pattern put in the brackets; ';' between patterns becomes a blank.
QStringList QtNameFilters(const std::string& filter);

using FileChoiceHook = std::function<CFileChoiceResult(const CFileChoice&)>;
// Installs the hook (empty function = real dialogs again).
void SetFileChoiceHook(FileChoiceHook hook);

} // namespace corvelin
