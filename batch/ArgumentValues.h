#pragma once
// The values of a keyword of corvelinscope-batch's own ("/SummaryOf=", "/Merge=", ...) in command-line order:
// the rest of each argument that starts with it (keywords ignore case), less one trailing double quote.
#include <string>
#include <vector>

namespace corvelin {

std::vector<std::string> ArgumentValues(const std::vector<std::string>& args, const char* keyword);

} // namespace corvelin
