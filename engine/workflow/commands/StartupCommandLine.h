#pragma once
// The start of both programs: the command line parsed once into the start-up options, a parameter file that
// cannot be read and every refused argument noted ("Ignored <argument>: <reason>").
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/workflow/CommandLine.h"

namespace corvelin {

class CJobSink;

// Parses args for the program into startup. A file given without a keyword (the desktop program's "open with",
// see FindFileArgument) is not noted as an unknown argument there.
CORVELIN_ENGINE_EXPORT CCommandLine ParseStartupCommandLine(const std::vector<std::string>& args,
                                                            CSearchOptions& startup, CommandProgram program,
                                                            CJobSink& notes);

} // namespace corvelin
