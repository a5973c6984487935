#pragma once
// The logged-on user's name: the login name of the effective user (part of per-user INI section names).
#include <string>

namespace corvelin {

// At most 260 characters. Falls back to $USER, then $LOGNAME, then the numeric user id.
std::string LoggedOnUserName();

}  // namespace corvelin
