#pragma once
// Writing a report file the user may have open in a spreadsheet: a file error is shown as the system's
// description of it, a line break and "Could not open file <path>. Please ensure that it is not opened, e.g. by
// Excel." Every CSV report of the program is written through here.
#include <functional>
#include <string>

#include "engine/core/EngineExport.h"
#include "engine/platform/MessageSink.h"

namespace corvelin {

// Calls write (which writes the file and throws CFileException on failure); on that exception shows the message
// naming shownPath with this caption and icon and returns false. Other exceptions pass through.
CORVELIN_ENGINE_EXPORT bool WriteReportFile(const std::string& shownPath, const std::function<void()>& write,
                                            const std::string& caption = {}, MessageIcon icon = MessageIcon::None);

} // namespace corvelin
