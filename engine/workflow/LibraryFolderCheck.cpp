#include "engine/workflow/LibraryFolderCheck.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace corvelin {

std::string LibraryFolderProblem(const std::string& folder)
{
    if (folder.empty())
        return "No library folder was given.";
    if (folder.find_first_not_of("/\\") == std::string::npos)
        return "The library folder '" + folder +
               "' is the root of the file system; name the folder that holds the library entries.";
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0)
        return "The library folder '" + folder + "' cannot be searched: " + std::strerror(errno) + ".";
    if (!S_ISDIR(st.st_mode))
        return "The library folder '" + folder + "' is not a folder.";
    return {};
}

} // namespace corvelin
