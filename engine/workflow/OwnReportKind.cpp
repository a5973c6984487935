#include "engine/workflow/OwnReportKind.h"

#include <array>
#include <utility>

namespace corvelin {

std::string OwnReportKind(const std::string& head)
{
    static const std::array<std::pair<const char*, const char*>, 3> kFirstLines = {{
        {"Library search results for = ", "a Corvelinscope library search report"},
        {"Peak compare table for = ", "a Corvelinscope peak compare table (Peak Match Table export)"},
        {"Corvelinscope multiple file peak summary results", "a Corvelinscope multiple file peak summary"},
    }};
    std::size_t start = head.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (start < head.size() && (head[start] == ' ' || head[start] == '\t' || head[start] == '"'))
        ++start;
    for (const auto& [line, kind] : kFirstLines)
        if (head.compare(start, std::char_traits<char>::length(line), line) == 0)
            return kind;
    return {};
}

std::string OwnReportRefusal(const std::string& path, const std::string& kind)
{
    return "'" + path + "' is " + kind +
           ", not a chromatogram. Open it in a spreadsheet, or choose the run the report was made from.";
}

} // namespace corvelin
