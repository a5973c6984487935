#include "gui/pages/ChromatogramBrowse.h"

#include "engine/core/Exceptions.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "gui/widgets/FileDialogs.h"
#include "gui/widgets/QtText.h"
#include "gui/widgets/WaitCursor.h"

namespace corvelin {

bool BrowseChromatogram(QWidget* parent, const QString& initialFolder, InputUse use, const CSearchOptions& options,
                        const ChromatogramTaker& take)
{
    std::string filter;
    try {
        filter = DatasystemPlugins().BuildChromatogramFilter();
    } catch (const CUserException&) {
        return false; // the list said why
    }
    for (;;) {
        const CFileChoiceResult choice = ChooseChromatogramFile(parent, initialFolder, filter);
        if (choice.path.isEmpty())
            return false;
        const std::string path = ToStdString(choice.path);
        CLibraryChromatogram chromatogram;
        CInputRead read;
        {
            CWaitCursor wait;
            read = ReadInput(path, options, use, chromatogram);
        }
        if (!read.Read)
            continue;
        RememberChromatogramFilter(choice.filterIndex);
        if (take(path, chromatogram, read))
            return true;
    }
}

} // namespace corvelin
