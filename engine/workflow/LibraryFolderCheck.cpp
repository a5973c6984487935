#include "engine/workflow/LibraryFolderCheck.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace corvelin {

std::string LibraryFolderProblem(const std::string& folder)
{
    if (folder.empty())
        return "No library folder was given.";
    const std::string rootText = "The library folder '" + folder +
                                 "' is the root of the file system; name the folder that holds the library "
                                 "entries.";
    if (folder.find_first_not_of("/\\") == std::string::npos)
        return rootText;
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0)
        return "The library folder '" + folder + "' cannot be searched: " + std::strerror(errno) + ".";
    if (!S_ISDIR(st.st_mode))
        return "The library folder '" + folder + "' is not a folder.";
    // "/usr/..", "/." or a link to "/" name the root too; the folder itself, resolved, decides.
    struct stat root {};
    if (::stat("/", &root) == 0 && st.st_dev == root.st_dev && st.st_ino == root.st_ino)
        return rootText;
    return {};
}

} // namespace corvelin
