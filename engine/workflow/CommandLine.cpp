#include "engine/workflow/CommandLine.h"

#include <algorithm>
#include <cstring>

#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"

namespace corvelin {

namespace {

constexpr const char* kDebugCaption = "Corvelinscope debug mode";

void DebugText(const std::string& text)
{
    ShowMessage(text, kDebugCaption, MessageIcon::Information);
}

} // namespace

bool StartsWithKeyword(const std::string& text, const char* keyword) noexcept
{
    const std::size_t n = std::strlen(keyword);
    if (text.size() < n)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        char a = text[i];
        char b = keyword[i];
        if (a >= 'A' && a <= 'Z')
            a = static_cast<char>(a + 32);
        if (b >= 'A' && b <= 'Z')
            b = static_cast<char>(b + 32);
        if (a != b)
            return false;
    }
    return true;
}

bool EndsWithSeparator(const std::string& text) noexcept
{
    return !text.empty() && (text.back() == '/' || text.back() == '\\');
}

std::string WithTrailingSeparator(const std::string& folder)
{
    return EndsWithSeparator(folder) ? folder : folder + '/';
}

CCommandLine ParseCommandLine(const std::vector<std::string>& args, CSearchOptions& startup,
                              const ParameterFileLoader& loadParameters, CommandProgram program)
{
    CCommandLine out;
    bool debug = false;
    bool fileCommandTaken = false;

    for (std::size_t index = 1; index < args.size(); ++index) {
        const std::string& a = args[index];
        if (debug)
            DebugText(FormatC("Command line argument %i = '%s'", static_cast<int>(index), a.c_str()));
        if (index == 0)
            continue; // the program itself (a "/Debug" walk visits it)

        const CCommandKeyword* keyword = FindCommandKeyword(a, program);
        if (!keyword) {
            out.Refused.push_back(a + ": unknown argument");
            continue;
        }
        if (!debug && std::strcmp(keyword->Name, "/Debug") == 0) {
            debug = true;
            fileCommandTaken = false;
            std::string whole;
            for (std::size_t i = 1; i < args.size(); ++i) {
                if (i > 1)
                    whole += ' ';
                whole += args[i];
            }
            DebugText(FormatC("Debug mode evoked. Command line is '%s'", whole.c_str()));
            index = static_cast<std::size_t>(-1); // the walk starts again at the program's own path
            continue;
        }
        CKeywordArgument argument(a, keyword->TakesValue() ? std::strlen(keyword->Name) : a.size(), out, startup,
                                  loadParameters, debug, fileCommandTaken);
        keyword->Take(argument);
    }
    // A "/Debug" walk visits the arguments before it twice: each refusal is reported once.
    std::vector<std::string> once;
    for (std::string& refused : out.Refused)
        if (std::find(once.begin(), once.end(), refused) == once.end())
            once.push_back(std::move(refused));
    out.Refused = std::move(once);
    return out;
}

} // namespace corvelin
