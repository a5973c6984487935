#include "engine/platform/UserName.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace corvelin {

std::string LoggedOnUserName()
{
    constexpr std::size_t maxLength = 260;
    std::string name;
    struct passwd entry {};
    struct passwd* found = nullptr;
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name)
        name = found->pw_name;
    if (name.empty()) {
        for (const char* variable : {"USER", "LOGNAME"}) {
            const char* value = std::getenv(variable);
            if (value && *value) {
                name = value;
                break;
            }
        }
    }
    if (name.empty())
        name = std::to_string(::geteuid());
    if (name.size() > maxLength)
        name.resize(maxLength);
    return name;
}

} // namespace corvelin
