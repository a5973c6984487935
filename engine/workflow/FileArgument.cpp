#include "engine/workflow/FileArgument.h"

#include <cctype>
#include <filesystem>
#include <system_error>

#include "engine/workflow/CommandLine.h"

namespace corvelin {

namespace {

bool EqualsNoCase(const std::string& text, const char* keyword)
{
    return text.size() == std::char_traits<char>::length(keyword) && StartsWithKeyword(text, keyword);
}

// "/Word=..." (letters only before the "="), "/Save", "/Print" and anything beginning with "/Debug".
bool IsKeywordArgument(const std::string& a)
{
    if (a.size() < 2 || a[0] != '/')
        return false;
    if (EqualsNoCase(a, "/Save") || EqualsNoCase(a, "/Print") || StartsWithKeyword(a, "/Debug"))
        return true;
    std::size_t i = 1;
    while (i < a.size() && std::isalpha(static_cast<unsigned char>(a[i])))
        ++i;
    return i > 1 && i < a.size() && a[i] == '=';
}

bool EndsWithNoCase(const std::string& text, const std::string& ending)
{
    if (text.size() < ending.size())
        return false;
    for (std::size_t i = 0; i < ending.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[text.size() - ending.size() + i])) !=
            std::tolower(static_cast<unsigned char>(ending[i])))
            return false;
    return true;
}

} // namespace

CFileArgument FindFileArgument(const std::vector<std::string>& args)
{
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::error_code error;
        if (a.empty() || IsKeywordArgument(a) || !std::filesystem::is_regular_file(a, error))
            continue;
        return {a, EndsWithNoCase(a, ".spf")};
    }
    return {};
}

} // namespace corvelin
