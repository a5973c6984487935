#pragma once
// corvelinscope-batch: the desktop program's command line run without a window. Exit codes: BatchExitCode
// (engine/workflow/BatchExitCode.h), the same as the desktop program's batch runs.
#include <string>
#include <vector>

#include "engine/workflow/BatchExitCode.h"

namespace corvelin {

int RunBatchProgram(const std::vector<std::string>& args);

} // namespace corvelin
