#include "engine/workflow/CommandLine.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>

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

// The value as a whole number: optional blanks, an optional sign, digits, optional trailing blanks; nothing else.
std::optional<long long> WholeInteger(const std::string& text)
{
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (end == text.c_str() || errno != 0)
        return std::nullopt;
    while (*end == ' ' || *end == '\t')
        ++end;
    return *end == '\0' ? std::optional<long long>(value) : std::nullopt;
}

// The value as a finite decimal number (no "nan", no "inf", nothing after the number but blanks).
std::optional<double> WholeReal(const std::string& text)
{
    if (text.find_first_of("nNiIxX") != std::string::npos) // nan, inf, hexadecimal
        return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || !std::isfinite(value))
        return std::nullopt;
    while (*end == ' ' || *end == '\t')
        ++end;
    return *end == '\0' ? std::optional<double>(value) : std::nullopt;
}

// Values of the command line are checked before they are taken: a refused value leaves the option as it was
// and is listed in Refused with the reason, so a typing error never changes a search silently.
class ValueChecker {
public:
    ValueChecker(const std::string& arg, const char* keyword, CCommandLine& out)
        : m_arg(arg), m_value(arg.substr(std::strlen(keyword))), m_out(out)
    {
    }
    const std::string& Value() const { return m_value; }
    void Refuse(const std::string& reason, const std::string& kept) const
    {
        m_out.Refused.push_back(m_arg + ": " + reason + "; the value stays " + kept);
    }
    // A switch: a whole number, non-zero = on.
    void Switch(int& field) const
    {
        if (const auto n = WholeInteger(m_value))
            field = *n != 0 ? 1 : 0;
        else
            Refuse("not a number (0 = off, 1 = on)", std::to_string(field));
    }
    // A real number within [low, high].
    bool Real(double& field, double low, double high, const char* range) const
    {
        const auto v = WholeReal(m_value);
        if (v && *v >= low && *v <= high) {
            field = *v;
            return true;
        }
        Refuse(std::string(v ? "out of range" : "not a number") + " (" + range + ")", FormatC("%g", field));
        return false;
    }

private:
    std::string m_arg;
    std::string m_value;
    CCommandLine& m_out;
};

// Keywords of this command line besides those the walk handles one by one; an argument matching none of them
// is reported as unknown.
bool IsKnownArgument(const std::string& a)
{
    static constexpr const char* kKeywords[] = {
        "/Debug",
        "/Convert=", "/Params=", "/MinArea=", "/Search=", "/SWnd=", "/RIWnd=", "/MS=", "/RT=", "/RI=", "/Area=",
        "/Height=", "/Absolute=", "/Multi=", "/RTRange=", "/Library=", "/Weight=", "/Threads=", "/Subfolders=",
        // corvelinscope-batch's own keywords, read there
        "/Display=", "/Summary=", "/SummaryOf=", "/PeakTable=", "/PeakTableOther=", "/PeakTableCsv=", "/MSReport=",
        "/MSReportCsv=", "/TIC="};
    for (const char* keyword : kKeywords)
        if (StartsWithKeyword(a, keyword))
            return true;
    return EqualsNoCase(a, "/Save") || EqualsNoCase(a, "/Print");
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
            double value = startup.AreaThreshold;
            if (ValueChecker(a, "/MinArea=", out).Real(value, 0.0, 100.0, "a percentage from 0 to 100")) {
                startup.AreaThresholdOn = 1;
                startup.AreaThreshold = value;
                out.MinAreaOn = true;
                out.MinArea = value;
                out.MinAreaGiven = true;
            }
        }
        if (StartsWithKeyword(a, "/Search=") && !fileOptionTaken) {
            fileOptionTaken = true;
            out.SearchFile = PathValue(a, "/Search=");
            if (debug)
                DebugText(FormatC("recieved /Search for file '%s'", out.SearchFile.c_str()));
        }
        if (StartsWithKeyword(a, "/SWnd="))
            ValueChecker(a, "/SWnd=", out).Real(startup.RTWindowWidth, 0.0, 1e6, "minutes, 0 or more");
        if (StartsWithKeyword(a, "/RIWnd="))
            ValueChecker(a, "/RIWnd=", out).Real(startup.RIWindowWidth, 0.0, 1e9, "index units, 0 or more");
        if (StartsWithKeyword(a, "/MS="))
            ValueChecker(a, "/MS=", out).Switch(startup.MSMatching);
        if (StartsWithKeyword(a, "/RT="))
            ValueChecker(a, "/RT=", out).Switch(startup.RTMatching);
        if (StartsWithKeyword(a, "/RI="))
            ValueChecker(a, "/RI=", out).Switch(startup.RIMatching);
        if (StartsWithKeyword(a, "/Area="))
            ValueChecker(a, "/Area=", out).Switch(startup.AreaMatching);
        if (StartsWithKeyword(a, "/Height="))
            ValueChecker(a, "/Height=", out).Switch(startup.HeightMatching);
        if (StartsWithKeyword(a, "/Absolute="))
            ValueChecker(a, "/Absolute=", out).Switch(startup.AbsoluteAreaHeight);
        if (StartsWithKeyword(a, "/Multi="))
            ValueChecker(a, "/Multi=", out).Switch(startup.MultipleMatching);
        if (StartsWithKeyword(a, "/Subfolders="))
            ValueChecker(a, "/Subfolders=", out).Switch(startup.SearchSubfolders);
        if (StartsWithKeyword(a, "/RTRange=")) {
            const ValueChecker check(a, "/RTRange=", out);
            if (CSearchOptions::IsValidTimeRange(check.Value()))
                startup.TimeRange = check.Value();
            else
                check.Refuse("not an RT search range (\"*\" or ranges such as \"2-5;7-9\")",
                             "\"" + startup.TimeRange + "\"");
        }
        if (StartsWithKeyword(a, "/Library=") && PathValue(a, "/Library=").empty()) {
            // An empty folder would become "/" and the search would walk the whole file system.
            out.Refused.push_back(a + ": an empty library folder is refused");
        } else if (StartsWithKeyword(a, "/Library=")) {
            out.LibraryFolder = WithTrailingSeparator(PathValue(a, "/Library="));
            if (debug)
                DebugText(FormatC("recieved /Library for file '%s'", out.LibraryFolder.c_str()));
        }
        if (StartsWithKeyword(a, "/Weight=")) {
            // The weighting index names one of five weightings; anything else is refused, not clamped, so a
            // typing error cannot silently select a different method.
            const ValueChecker check(a, "/Weight=", out);
            const auto weighting = WholeInteger(check.Value());
            if (weighting && *weighting >= 0 && *weighting <= 4)
                startup.Weighting = static_cast<int>(*weighting);
            else
                check.Refuse("the weighting index must be 0 to 4", std::to_string(startup.Weighting));
        }
        if (EqualsNoCase(a, "/Save"))
            out.SaveAfterBatch = true;
        if (EqualsNoCase(a, "/Print"))
            out.PrintAfterBatch = true;
        if (StartsWithKeyword(a, "/Threads=")) {
            const ValueChecker check(a, "/Threads=", out);
            const auto threads = WholeInteger(check.Value());
            if (threads && *threads >= 0 && *threads <= 4096)
                out.Threads = static_cast<int>(*threads);
            else
                check.Refuse("not a thread count (0 = one per core)", std::to_string(out.Threads));
        }
        if (index > 0 && !IsKnownArgument(a)) // index 0: the program itself (a "/Debug" walk visits it)
            out.Refused.push_back(a + ": unknown argument");
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
