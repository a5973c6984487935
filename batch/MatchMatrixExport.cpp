#include "batch/MatchMatrixExport.h"

#include <cstdio>
#include <exception>

#include "batch/BatchProgram.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/TextFile.h"
#include "engine/views/MatchMatrix.h"
#include "engine/workflow/CommandLine.h"

namespace corvelin {

namespace {

// The value of the last argument starting with keyword (case ignored), without a closing double quote.
std::string KeywordValue(const std::vector<std::string>& args, const char* keyword)
{
    const std::size_t length = std::char_traits<char>::length(keyword);
    std::string value;
    for (std::size_t i = 1; i < args.size(); ++i)
        if (StartsWithKeyword(args[i], keyword)) {
            value = args[i].substr(length);
            if (!value.empty() && value.back() == '"')
                value.pop_back();
        }
    return value;
}

} // namespace

bool IsMatchMatrixRequest(const std::vector<std::string>& args)
{
    for (std::size_t i = 1; i < args.size(); ++i)
        if (StartsWithKeyword(args[i], "/MatchMatrix="))
            return true;
    return false;
}

int RunMatchMatrixExport(const std::vector<std::string>& args, const CSearchOptions& options)
{
    const std::string thisPath = KeywordValue(args, "/MatchMatrix=");
    const std::string otherPath = KeywordValue(args, "/MatrixOther=");
    if (thisPath.empty() || otherPath.empty()) {
        std::fprintf(stderr, "A match matrix needs both files: /MatchMatrix=<this file> /MatrixOther=<other file>\n");
        return kExitNothingToDo;
    }
    CMatchMatrix matrix;
    if (BuildMatchMatrix(thisPath, otherPath, options, matrix) != MatchMatrixBuildEnd::Built)
        return kExitUnreadable;
    const std::string csv = MatchMatrixCsv(matrix);
    const std::string output = KeywordValue(args, "/MatrixCsv=");
    if (output.empty()) {
        const std::string bytes = TextModeBytes(csv);
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        std::fflush(stdout);
        return kExitOk;
    }
    try {
        WriteTextFile(output, csv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "The match matrix could not be written to %s: %s\n", output.c_str(), e.what());
        return kExitReportFailed;
    }
    std::fprintf(stderr, "Match matrix written to %s\n", output.c_str());
    return kExitOk;
}

} // namespace corvelin
