#include "batch/ArgumentValues.h"

#include "engine/workflow/CommandLine.h"

namespace corvelin {

std::vector<std::string> ArgumentValues(const std::vector<std::string>& args, const char* keyword)
{
    std::vector<std::string> out;
    const std::size_t length = std::char_traits<char>::length(keyword);
    for (std::size_t i = 1; i < args.size(); ++i)
        if (StartsWithKeyword(args[i], keyword)) {
            std::string value = args[i].substr(length);
            if (!value.empty() && value.back() == '"')
                value.pop_back();
            out.push_back(value);
        }
    return out;
}

} // namespace corvelin
