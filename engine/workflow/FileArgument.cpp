#include "engine/workflow/FileArgument.h"

#include <cctype>
#include <filesystem>
#include <system_error>

#include "engine/workflow/commands/CommandKeyword.h"

namespace corvelin {

namespace {

// Any keyword of the command line ("/Save", "/Debug...") and anything shaped "/Word=..." (letters only before
// the "=").
bool IsKeywordArgument(const std::string& a)
{
    if (a.size() < 2 || a[0] != '/')
        return false;
    if (FindCommandKeyword(a, kBatchProgram) != nullptr)
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
