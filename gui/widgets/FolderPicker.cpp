#include "gui/widgets/FolderPicker.h"

#include "gui/widgets/FileDialogs.h"

namespace corvelin {

QString WithTrailingSeparator(const QString& folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))
        return folder;
    return folder + QLatin1Char('/');
}

QString PickFolder(QWidget* parent, const QString& title, const QString& startFolder)
{
    CFileChoice request;
    request.kind = CFileChoice::Folder;
    request.title = title;
    request.initialFolder = startFolder;
    const QString folder = ChooseFile(parent, request).path;
    return folder.isEmpty() ? QString() : WithTrailingSeparator(folder);
}

} // namespace corvelin
