#include "batch/ViewExports.h"

#include <cstdio>

#include "batch/BatchProgram.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/PendingTemporaryFile.h"
#include "engine/platform/TextFile.h"
#include "engine/table/ReportTable.h"
#include "engine/views/MassSpecReport.h"
#include "engine/views/MatchMatrix.h"
#include "engine/views/PeakMatchTable.h"
#include "engine/workflow/CommandLine.h"

namespace corvelin {

namespace {

// The value of the last argument with this keyword (a closing quote dropped), empty when none.
std::string KeywordValue(const std::vector<std::string>& args, const char* keyword)
{
    std::string value;
    const std::size_t length = std::char_traits<char>::length(keyword);
    for (std::size_t i = 1; i < args.size(); ++i)
        if (StartsWithKeyword(args[i], keyword)) {
            value = args[i].substr(length);
            if (!value.empty() && value.back() == '"')
                value.pop_back();
        }
    return value;
}

bool HasKeyword(const std::vector<std::string>& args, const char* keyword)
{
    for (std::size_t i = 1; i < args.size(); ++i)
        if (StartsWithKeyword(args[i], keyword))
            return true;
    return false;
}

// Writes the text-mode bytes to the file, or to stdout when no file is named.
int Emit(const std::string& file, const std::string& text)
{
    if (file.empty()) {
        const std::string bytes = TextModeBytes(text);
        return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() ? kExitOk : kExitReportFailed;
    }
    try {
        WriteTextFile(file, text);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Could not write %s: %s\n", file.c_str(), e.what());
        return kExitReportFailed;
    }
    return kExitOk;
}

int RunPeakTable(const std::vector<std::string>& args, const CSearchOptions& options)
{
    CPeakMatchTable model;
    CReportTable table;
    SetUpPeakMatchColumns(table);
    switch (model.Build(KeywordValue(args, "/PeakTable="), KeywordValue(args, "/PeakTableOther="), options, table)) {
    case CPeakMatchTable::Outcome::Built:
        break;
    case CPeakMatchTable::Outcome::Unreadable:
        return kExitUnreadable;
    case CPeakMatchTable::Outcome::TooManyPeaks:
        return kExitTooManyPeaks;
    default:
        return kExitNothingToDo;
    }
    return Emit(KeywordValue(args, "/PeakTableCsv="), PeakMatchCsvText(model.This(), model.Other(), options, table));
}

int RunMassSpecReport(const std::vector<std::string>& args, const CSearchOptions& options)
{
    CReportTable table;
    SetUpMassSpecReportColumns(table);
    switch (BuildMassSpecReport(KeywordValue(args, "/MSReport="), options, table)) {
    case MassSpecReportOutcome::Built:
        break;
    case MassSpecReportOutcome::Unreadable:
        return kExitUnreadable;
    default:
        return kExitNothingToDo;
    }
    return Emit(KeywordValue(args, "/MSReportCsv="), MassSpecReportCsvText(table));
}

int RunMatchMatrix(const std::vector<std::string>& args, const CSearchOptions& options)
{
    const std::string thisPath = KeywordValue(args, "/MatchMatrix=");
    const std::string otherPath = KeywordValue(args, "/MatrixOther=");
    if (thisPath.empty() || otherPath.empty()) {
        std::fprintf(stderr, "A match matrix needs both files: /MatchMatrix=<this file> /MatrixOther=<other file>\n");
        return kExitNothingToDo;
    }
    CMatchMatrix matrix;
    switch (BuildMatchMatrix(thisPath, otherPath, options, matrix)) {
    case MatchMatrixBuildEnd::Built:
        break;
    case MatchMatrixBuildEnd::TooManyPeaks:
        return kExitTooManyPeaks;
    default:
        return kExitUnreadable;
    }
    return Emit(KeywordValue(args, "/MatrixCsv="), MatchMatrixCsv(matrix));
}

} // namespace

bool IsViewExport(const std::vector<std::string>& args)
{
    return HasKeyword(args, "/PeakTable=") || HasKeyword(args, "/MSReport=") || HasKeyword(args, "/MatchMatrix=");
}

int RunViewExport(const std::vector<std::string>& args, const CSearchOptions& options)
{
    InstallTemporaryFileCleanup(); // Ctrl-C or a kill while the CSV is written leaves no temporary file
    if (HasKeyword(args, "/PeakTable="))
        return RunPeakTable(args, options);
    if (HasKeyword(args, "/MatchMatrix="))
        return RunMatchMatrix(args, options);
    return RunMassSpecReport(args, options);
}

} // namespace corvelin
