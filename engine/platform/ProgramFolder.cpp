#include "engine/platform/ProgramFolder.h"

#include <climits>
#include <unistd.h>

namespace corvelin {

std::string ProgramFolder()
{
    std::string path(PATH_MAX, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= path.size())
        return "./";
    path.resize(static_cast<std::size_t>(n));
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return "./";
    return path.substr(0, slash + 1);
}

} // namespace corvelin
