#include "engine/workflow/commands/StartupCommandLine.h"

#include "engine/options/SearchParameterFile.h"
#include "engine/workflow/FileArgument.h"
#include "engine/workflow/commands/JobOutcome.h"

namespace corvelin {

CCommandLine ParseStartupCommandLine(const std::vector<std::string>& args, CSearchOptions& startup,
                                     CommandProgram program, CJobSink& notes)
{
    const CCommandLine line = ParseCommandLine(
        args, startup,
        [&notes](const std::string& path, CSearchOptions& options) {
            if (!ReadParameterFile(options, path))
                notes.Note("The search parameter file '" + path + "' could not be read; defaults were used.");
        },
        program);
    const std::string openWith = program == kDesktopProgram ? FindFileArgument(args).Path : std::string();
    for (const std::string& refused : line.Refused)
        if (openWith.empty() || refused != openWith + ": unknown argument")
            notes.Note("Ignored " + refused);
    return line;
}

} // namespace corvelin
