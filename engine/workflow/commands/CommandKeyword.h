#pragma once
// The keywords of the command line, each declared once: its name, the form of its value, the command it starts
// or belongs to, the programs that accept it, its help line and how its value is checked and taken. The parser
// (ParseCommandLine), each program's "--help" and its "unknown argument" note all come from this table.
//
// Where a new command goes: one keyword entry here (CommandKeyword.cpp, with the CCommandLine field it sets),
// one request (CommandRequest.h, picked in MakeCommandRequest) and one Run (CommandRun.cpp).
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CSearchOptions;
struct CCommandLine;

// The programs that read this command line (a mask: a keyword may belong to both).
enum CommandProgram : unsigned {
    kDesktopProgram = 1u, // corvelinscope
    kBatchProgram = 2u,   // corvelinscope-batch
    kBothPrograms = kDesktopProgram | kBatchProgram,
};

// The commands of the command line. Options belong to no command (None) and apply to whichever runs.
enum class CommandKind {
    None,
    Search,
    Convert,
    Display,
    PeakTable,
    MSReport,
    Summary,
    MatchMatrix,
    Unknowns,
    Merge,
    Tic
};

// One argument being taken: its value is checked here and, when sound, stored; a refused value leaves the
// option as it was and is listed in the command line's Refused with the reason.
class CORVELIN_ENGINE_EXPORT CKeywordArgument {
public:
    using Loader = std::function<void(const std::string& path, CSearchOptions& options)>;
    CKeywordArgument(const std::string& arg, std::size_t keywordLength, CCommandLine& line, CSearchOptions& options,
                     const Loader& loadParameters, bool debug, bool& fileCommandTaken)
        : Arg(arg), Value(arg.substr(keywordLength)), Line(line), Options(options), LoadParameters(loadParameters),
          Debug(debug), FileCommandTaken(fileCommandTaken)
    {
    }
    const std::string& Arg;
    const std::string Value; // the rest of the argument after the keyword
    CCommandLine& Line;
    CSearchOptions& Options;
    const Loader& LoadParameters; // "/Params=" (may be empty)
    const bool Debug;
    bool& FileCommandTaken; // only the first "/Convert=" or "/Search=" counts

    // The value as a path: one trailing double quote dropped (what a shell leaves of "C:\data\").
    std::string Path() const;
    void Refuse(const std::string& reason, const std::string& kept) const;
    // A switch: a whole number, non-zero = on.
    void Switch(int& field) const;
    // A real number within [low, high]; false (refused) otherwise.
    bool Real(double& field, double low, double high, const char* range) const;
    // A whole number within [low, high]; false (refused, with reason) otherwise.
    bool Whole(int& field, long long low, long long high, const char* reason) const;
    // A debug-mode note "recieved <keyword> for file '<path>'" (the program's own spelling).
    void DebugReceived(const char* keyword, const std::string& path) const;
};

struct CORVELIN_ENGINE_EXPORT CCommandKeyword {
    const char* Name;        // "/Search=" takes the rest of the argument as its value; "/Save" stands alone
    const char* ValueHint;   // for the help: "<file>", "<0|1>"; empty when the keyword takes no value
    CommandKind Command;     // the command it starts or belongs to; None = an option
    bool StartsCommand;      // the keyword asks for its command ("/Search="), not only a detail of it ("/Library=")
    unsigned Programs;       // CommandProgram mask
    const char* Help;        // the help line(s) of the batch program ("\n" continues the text)
    const char* DesktopHelp; // the desktop program's, when it differs (nullptr: Help)
    void (*Take)(CKeywordArgument& argument);

    bool TakesValue() const noexcept;
    bool AcceptedBy(CommandProgram program) const noexcept { return (Programs & program) != 0; }
    // Whether arg is this keyword (ignoring case): a value keyword as a prefix, "/Debug" as a prefix too (the
    // program has always taken "/Debugxyz"), any other keyword whole.
    bool Matches(const std::string& arg) const noexcept;
};

// Every keyword, in the order of the help.
CORVELIN_ENGINE_EXPORT const std::vector<CCommandKeyword>& CommandKeywords();
// The keyword that arg is for this program, nullptr when none (an "unknown argument").
CORVELIN_ENGINE_EXPORT const CCommandKeyword* FindCommandKeyword(const std::string& arg,
                                                                 CommandProgram program) noexcept;
// Whether any argument after args[0] is one of these commands' keywords (the desktop program decides before
// parsing whether its messages go to stderr).
CORVELIN_ENGINE_EXPORT bool NamesCommand(const std::vector<std::string>& args,
                                         std::initializer_list<CommandKind> commands);

// The program's "--help" text: its forms of call, what it is, one line per keyword it accepts, the exit codes.
CORVELIN_ENGINE_EXPORT std::string UsageText(CommandProgram program);

} // namespace corvelin
