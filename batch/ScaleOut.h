#pragma once
// corvelinscope-batch beyond one machine and one unknown:
//   /Unknowns=<folder or list>          many unknowns in one pass over the library, one report each
//   /Shard=k/n /Out=<file or folder>    only the library shard k of n, written as shard result files
//   /Merge=<shard files or folders>     the shard results put together into the one-machine report
//   /Search=<unknown> /Out=<file>       a one-machine search whose report goes to that file
#include <atomic>
#include <string>
#include <vector>

namespace corvelin {

class CSearchOptions;
struct CCommandLine;

// Whether the arguments ask for one of the runs above other than a plain search ("/Unknowns=", "/Shard=",
// "/Merge=").
bool IsScaleOutRequest(const std::vector<std::string>& args);

// The last "/Out=" value; "" when none was given.
std::string OutValue(const std::vector<std::string>& args);

// Runs the request; returns its exit code (see BatchExitCode.h; a refused merge gives 7). running is the stop
// flag of the search (set by the caller), interrupted tells whether Ctrl-C cleared it.
int RunScaleOut(const std::vector<std::string>& args, const CCommandLine& line, const CSearchOptions& options,
                std::atomic<bool>& running, const std::atomic<bool>& interrupted);

} // namespace corvelin
