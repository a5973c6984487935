#include "engine/table/CsvReportFile.h"

#include <cstring>

#include "engine/core/Exceptions.h"
#include "engine/platform/CFormat.h"

namespace corvelin {

bool WriteReportFile(const std::string& shownPath, const std::function<void()>& write, const std::string& caption,
                     MessageIcon icon)
{
    try {
        write();
    } catch (const CFileException& e) {
        ShowMessage(std::string(std::strerror(e.GetOsError())) + "\n" +
                        FormatC("Could not open file %s. Please ensure that it is not opened, e.g. by Excel.",
                                shownPath.c_str()),
                    caption, icon);
        return false;
    }
    return true;
}

} // namespace corvelin
