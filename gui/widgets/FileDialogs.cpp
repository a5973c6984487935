#include "gui/widgets/FileDialogs.h"

#include <QFileDialog>
#include <QRegularExpression>

#include "gui/widgets/QtText.h"
#include "engine/options/ProgramOptions.h"

namespace corvelin {

namespace {

FileChoiceHook& Hook()
{
    static FileChoiceHook hook;
    return hook;
}

} // namespace

void SetFileChoiceHook(FileChoiceHook hook)
{
    Hook() = std::move(hook);
}

QStringList QtNameFilters(const std::string& filter)
{
    const QStringList parts = ToQString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        if (description.isEmpty() && patterns.isEmpty())
            break;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns = patterns.simplified();
        if (patterns == QLatin1String("*.*"))
            patterns = QStringLiteral("*");
        static const QRegularExpression trailingBrackets(QStringLiteral("\\s*\\([^()]*\\)$"));
        description.remove(trailingBrackets);
        filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

CFileChoiceResult ChooseFile(QWidget* parent, const CFileChoice& request)
{
    if (Hook())
        return Hook()(request);
    CFileChoiceResult result;
    if (request.kind == CFileChoice::Folder) {
        result.path =
            QFileDialog::getExistingDirectory(parent, request.title, request.initialFolder, QFileDialog::ShowDirsOnly);
        return result;
    }
    QFileDialog dialog(parent, request.title, request.initialFolder);
    const QStringList filters = QtNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = request.filterIndex > 0 ? request.filterIndex - 1 : 0;
        if (index < filters.size())
            dialog.selectNameFilter(filters[index]);
    }
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.initialFile.isEmpty())
        dialog.selectFile(request.initialFile);
    if (request.kind == CFileChoice::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.kind == CFileChoice::OpenMultiple ? QFileDialog::ExistingFiles
                                                                     : QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return result;
    result.paths = dialog.selectedFiles();
    result.path = result.paths.constFirst();
    result.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return result;
}

CFileChoiceResult ChooseChromatogramFile(QWidget* parent, const QString& initialFolder, const std::string& filter,
                                         const QString& initialFile, const QString& defaultSuffix)
{
    CFileChoice request;
    request.kind = CFileChoice::Open;
    request.initialFolder = initialFolder;
    request.initialFile = initialFile;
    request.defaultSuffix = defaultSuffix;
    request.filter = filter;
    request.filterIndex = LoadLastFileTypeIndex();
    return ChooseFile(parent, request);
}

void RememberChromatogramFilter(int filterIndex)
{
    WriteLastFileTypeIndex(filterIndex);
}

} // namespace corvelin
