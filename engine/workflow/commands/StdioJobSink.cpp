#include "engine/workflow/commands/StdioJobSink.h"

namespace corvelin {

bool CStdioJobSink::Output(const std::string& bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
}

bool CStdioJobSink::FlushOutput()
{
    return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

void CStdioJobSink::Note(const std::string& line)
{
    std::fprintf(stderr, "%s\n", line.c_str());
}

} // namespace corvelin
