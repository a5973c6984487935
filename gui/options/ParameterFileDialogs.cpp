#include "gui/options/ParameterFileDialogs.h"

#include "gui/widgets/QtText.h"
#include "engine/options/SearchOptions.h"
#include "engine/options/SearchParameterFile.h"
#include "engine/platform/MessageSink.h"
#include "gui/widgets/FileDialogs.h"
#include "gui/widgets/WaitCursor.h"

namespace corvelin {

namespace {

QString ChooseParameterFile(QWidget* parent, bool save)
{
    CFileChoice request;
    request.kind = save ? CFileChoice::Save : CFileChoice::Open;
    request.title = save ? QStringLiteral("Save Search Parameter File") : QStringLiteral("Read Search Parameter File");
    request.initialFolder = ToQString(LastParameterFileFolder());
    request.filter = "Search Settings (*.spf)|*.spf|All Files (*.*)|*.*||";
    request.filterIndex = 1;
    request.defaultSuffix = QStringLiteral("spf");
    const QString path = corvelin::ChooseFile(parent, request).path;
    if (!path.isEmpty())
        RememberParameterFileFolder(ToStdString(path));
    return path;
}

} // namespace

QString FolderOfPath(const QString& path)
{
    return ToQString(ParameterFileFolder(ToStdString(path)));
}

int ReadParameterFileDialog(QWidget* parent, CSearchOptions& options)
{
    const QString path = ChooseParameterFile(parent, false);
    if (path.isEmpty())
        return QDialog::Rejected;
    ReadParameterFile(options, ToStdString(path));
    return QDialog::Accepted;
}

int WriteParameterFileDialog(QWidget* parent, const CSearchOptions& options)
{
    const QString path = ChooseParameterFile(parent, true);
    if (path.isEmpty())
        return QDialog::Rejected;
    CWaitCursor wait;
    return WriteParameterFile(options, ToStdString(path)) ? QDialog::Accepted : QDialog::Rejected;
}

bool SaveParameterFileFromPage(QWidget* parent, const CSearchOptions& options)
{
    if (WriteParameterFileDialog(parent, options) == QDialog::Accepted)
        return true;
    Messages().ShowMessage("Could not save search parameter file", "Search Parameters", MessageIcon::Stop);
    return false;
}

} // namespace corvelin
