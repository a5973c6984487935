#include "engine/workflow/CommandLine.h"

#include <cstring>

#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/platform/NumberScan.h"

namespace corvelin {

namespace {

constexpr const char* kDebugCaption = "Corvelinscope debug mode";

void DebugText(const std::string& text)
{
    ShowMessage(text, kDebugCaption, MessageIcon::Information);
}

// A path value loses one trailing double quote (what a shell leaves of "C:\data\").
std::string PathValue(const std::string& arg, const char* keyword)
{
    std::string value = arg.substr(std::strlen(keyword));
    if (!value.empty() && value.back() == '"')
        value.pop_back();
    return value;
}

bool EqualsNoCase(const std::string& text, const char* keyword) noexcept
{
    return text.size() == std::strlen(keyword) && StartsWithKeyword(text, keyword);
}

int Switch(const std::string& arg, const char* keyword)
{
    return LeadingInteger(arg.substr(std::strlen(keyword))) != 0 ? 1 : 0;
}

double Real(const std::string& arg, const char* keyword)
{
    return LeadingReal(arg.substr(std::strlen(keyword)));
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
                              const ParameterFileLoader& loadParameters)
{
    CCommandLine out;
    bool debug = false;
    bool fileOptionTaken = false;

    for (std::size_t index = 1; index < args.size(); ++index) {
        const std::string& a = args[index];
        if (debug)
            DebugText(FormatC("Command line argument %i = '%s'", static_cast<int>(index), a.c_str()));

        if (!debug && StartsWithKeyword(a, "/Debug")) {
            debug = true;
            fileOptionTaken = false;
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

        if (StartsWithKeyword(a, "/Convert=") && !fileOptionTaken) {
            fileOptionTaken = true;
            out.ConvertFile = PathValue(a, "/Convert=");
            out.MinAreaOn = false;
            out.MinArea = 0;
            out.MinAreaGiven = true;
            if (debug)
                DebugText(FormatC("recieved /Convert for file '%s'", out.ConvertFile.c_str()));
        }
        if (StartsWithKeyword(a, "/Params=")) {
            const std::string path = a.substr(std::strlen("/Params="));
            if (debug)
                DebugText(FormatC("recieved /Params for file '%s'", path.c_str()));
            if (loadParameters)
                loadParameters(path, startup);
        }
        if (StartsWithKeyword(a, "/MinArea=")) {
            const double value = Real(a, "/MinArea=");
            startup.AreaThresholdOn = 1;
            startup.AreaThreshold = value;
            out.MinAreaOn = true;
            out.MinArea = value;
            out.MinAreaGiven = true;
        }
        if (StartsWithKeyword(a, "/Search=") && !fileOptionTaken) {
            fileOptionTaken = true;
            out.SearchFile = PathValue(a, "/Search=");
            if (debug)
                DebugText(FormatC("recieved /Search for file '%s'", out.SearchFile.c_str()));
        }
        if (StartsWithKeyword(a, "/SWnd="))
            startup.RTWindowWidth = Real(a, "/SWnd=");
        if (StartsWithKeyword(a, "/RIWnd="))
            startup.RIWindowWidth = Real(a, "/RIWnd=");
        if (StartsWithKeyword(a, "/MS="))
            startup.MSMatching = Switch(a, "/MS=");
        if (StartsWithKeyword(a, "/RT="))
            startup.RTMatching = Switch(a, "/RT=");
        if (StartsWithKeyword(a, "/RI="))
            startup.RIMatching = Switch(a, "/RI=");
        if (StartsWithKeyword(a, "/Area="))
            startup.AreaMatching = Switch(a, "/Area=");
        if (StartsWithKeyword(a, "/Height="))
            startup.HeightMatching = Switch(a, "/Height=");
        if (StartsWithKeyword(a, "/Absolute="))
            startup.AbsoluteAreaHeight = Switch(a, "/Absolute=");
        if (StartsWithKeyword(a, "/Multi="))
            startup.MultipleMatching = Switch(a, "/Multi=");
        if (StartsWithKeyword(a, "/RTRange="))
            startup.TimeRange = a.substr(std::strlen("/RTRange="));
        if (StartsWithKeyword(a, "/Library=")) {
            out.LibraryFolder = WithTrailingSeparator(PathValue(a, "/Library="));
            if (debug)
                DebugText(FormatC("recieved /Library for file '%s'", out.LibraryFolder.c_str()));
        }
        if (StartsWithKeyword(a, "/Weight=")) {
            // The weighting index names one of five weightings; anything else is refused, not clamped, so a
            // typing error cannot silently select a different method.
            const int weighting = LeadingInteger(a.substr(std::strlen("/Weight=")));
            if (weighting >= 0 && weighting <= 4)
                startup.Weighting = weighting;
            else
                out.Refused.push_back(a + ": the weighting index must be 0 to 4; the weighting stays " +
                                      std::to_string(startup.Weighting));
        }
        if (EqualsNoCase(a, "/Save"))
            out.SaveAfterBatch = true;
        if (EqualsNoCase(a, "/Print"))
            out.PrintAfterBatch = true;
        if (StartsWithKeyword(a, "/Threads=")) {
            const int threads = LeadingInteger(a.substr(std::strlen("/Threads=")));
            out.Threads = threads > 0 ? threads : 0;
        }
    }
    return out;
}

} // namespace corvelin
