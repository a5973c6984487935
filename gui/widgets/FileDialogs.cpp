#include "gui/widgets/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

#include "gui/widgets/QtText.h"
#include "engine/options/ProgramOptions.h"
#include "engine/platform/MessageSink.h"

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

QString ProposedSaveName(const QString& name, const QString& suffix)
{
    if (name.isEmpty() || suffix.isEmpty() || name.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive))
        return name;
    return name + QLatin1Char('.') + suffix;
}

namespace {

CFileChoiceResult ShowFileDialog(QWidget* parent, const CFileChoice& request)
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

} // namespace

CFileChoiceResult ChooseFile(QWidget* parent, const CFileChoice& request)
{
    if (request.kind != CFileChoice::Save)
        return ShowFileDialog(parent, request);
    CFileChoice save = request;
    save.initialFile = ProposedSaveName(request.initialFile, request.defaultSuffix);
    for (;;) {
        CFileChoiceResult result = ShowFileDialog(parent, save);
        if (result.path.isEmpty() || !save.confirmOverwrite || !QFileInfo::exists(result.path))
            return result;
        const std::string question =
            ToStdString(QFileInfo(result.path).fileName()) + " already exists.\nDo you want to replace it?";
        if (Messages().AskYesNo(question, ToStdString(save.title.isEmpty() ? QStringLiteral("Save As") : save.title),
                                MessageIcon::Exclamation))
            return result;
        save.initialFolder = QFileInfo(result.path).absolutePath();
        save.initialFile = QFileInfo(result.path).fileName();
        save.filterIndex = result.filterIndex;
    }
}

int ChromatogramFilterIndex(const std::string& filter)
{
    return HasLastFileTypeIndex() ? LoadLastFileTypeIndex() : static_cast<int>(QtNameFilters(filter).size());
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
    request.filterIndex = ChromatogramFilterIndex(filter);
    return ChooseFile(parent, request);
}

void RememberChromatogramFilter(int filterIndex)
{
    WriteLastFileTypeIndex(filterIndex);
}

} // namespace corvelin
