#pragma once
// The error a raw-data parser throws when it refuses a file: an errno-style code (what IsFileReadable
// returns) and a sentence for the user that says why.
#include <string>

#include "engine/core/Exceptions.h"

namespace corvelin {

class CRunReadError : public CFormatException {
public:
    CRunReadError(int code, const std::string& reason) : CFormatException(reason, code) {}
};

} // namespace corvelin
