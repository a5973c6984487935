#pragma once
// Recognises the CSV reports this program writes by their first line, so that a report picked by mistake as a
// chromatogram (it ends in ".csv" like a lab's peak table) is refused with a sentence that says what it is.
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

// What the file whose text starts with head is: "a Corvelinscope library search report", "a Corvelinscope peak
// compare table (Peak Match Table export)" or "a Corvelinscope multiple file peak summary"; empty for any other
// text. A byte-order mark, blanks and an opening double quote before the first line are skipped.
CORVELIN_ENGINE_EXPORT std::string OwnReportKind(const std::string& head);

// The refusal of such a file as a chromatogram: "'<path>' is <kind>, not a chromatogram. ..."
CORVELIN_ENGINE_EXPORT std::string OwnReportRefusal(const std::string& path, const std::string& kind);

} // namespace corvelin
