#pragma once
// A command of the command line as one typed request: what to run and with which options. The command line is
// parsed once (ParseCommandLine); MakeCommandRequest picks the command it asks for; Run (CommandRun.h) runs it.
#include <string>
#include <variant>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/options/SearchOptions.h"

namespace corvelin {

struct CCommandLine;

// No command was asked for: the usage goes to stderr, exit code 1.
struct CORVELIN_ENGINE_EXPORT CNoCommandRequest {};

struct CORVELIN_ENGINE_EXPORT CSearchRequest {
    CSearchOptions Options;
    std::string UnknownPath;
    std::string LibraryFolder; // with its trailing separator; empty = the last-used folder
    bool Save = false;
    bool Print = false;
    int Threads = 0;
    std::string Out; // "/Out=": the report file; empty = next to the unknown (the name rule)
};

struct CORVELIN_ENGINE_EXPORT CConvertRequest {
    CSearchOptions Options;
    std::string File;
    double MinAreaPercent = 0; // 0 = every peak
};

struct CORVELIN_ENGINE_EXPORT CDisplayRequest {
    CSearchOptions Options;
    std::string File;
    double MinAreaPercent = 0;
};

struct CORVELIN_ENGINE_EXPORT CPeakTableRequest {
    CSearchOptions Options;
    std::string This;
    std::string Other;
    std::string Csv; // empty = standard output
};

struct CORVELIN_ENGINE_EXPORT CMSReportRequest {
    CSearchOptions Options;
    std::string File;
    std::string Csv; // empty = standard output
};

struct CORVELIN_ENGINE_EXPORT CSummaryRequest {
    CSearchOptions Options;
    std::string Output;
    std::vector<std::string> Inputs; // files and folders as given
    int Threads = 0;
};

struct CORVELIN_ENGINE_EXPORT CMatchMatrixRequest {
    CSearchOptions Options;
    std::string This;
    std::string Other; // empty: refused (nothing to do)
    std::string Csv;   // empty = standard output
};

// Many unknowns in one pass ("/Unknowns="), or a library shard ("/Shard=") of them or of one "/Search=" unknown.
struct CORVELIN_ENGINE_EXPORT CUnknownsRequest {
    CSearchOptions Options;
    std::vector<std::string> Lists; // "/Unknowns=" folders or list files; empty = the one UnknownPath
    std::string UnknownPath;        // "/Search="
    std::string LibraryFolder;      // as in CSearchRequest
    std::string Shard;              // "k/n"; empty = the whole library
    std::string Out;                // reports folder, shard file or folder of shard files
    bool Save = false;
    bool Print = false;
    int Threads = 0;
    bool Debug = false; // "/Debug": the count of entry files read is noted
};

// "/Merge=": shard result files put together into the one-machine reports.
struct CORVELIN_ENGINE_EXPORT CMergeRequest {
    std::vector<std::string> Paths; // files or folders
    std::string Out;                // report file or folder; empty = next to each unknown
};

// "/Display=<run> /TIC=<csv>": the run's total-ion chromatogram and peaks as CSV.
struct CORVELIN_ENGINE_EXPORT CTicRequest {
    CSearchOptions Options;
    std::string Run; // the "/Display=" file; empty: refused (nothing to do)
    std::string Csv; // empty = standard output
    double MinAreaPercent = 0;
};

// A new command adds its request here and its Run overload beside the others (CommandRun.cpp dispatches).
using CCommandRequest =
    std::variant<CNoCommandRequest, CSearchRequest, CConvertRequest, CDisplayRequest, CPeakTableRequest,
                 CMSReportRequest, CSummaryRequest, CMatchMatrixRequest, CUnknownsRequest, CMergeRequest, CTicRequest>;

// The command the parsed command line asks for, with the start-up options it set up. When several are given,
// the first of /Summary=, /Merge=, /Unknowns= (or /Search= with /Shard=), /Search=, /Convert=, /PeakTable=,
// /MatchMatrix=, /MSReport=, /TIC=, /Display= runs.
CORVELIN_ENGINE_EXPORT CCommandRequest MakeCommandRequest(const CCommandLine& line, const CSearchOptions& options);

} // namespace corvelin
