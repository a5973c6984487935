#pragma once
// The error a raw-data parser throws when it refuses a file: an errno-style code (what IsFileReadable
// returns) and a sentence for the user that says why.
#include <stdexcept>
#include <string>

namespace corvelin {

class CRunReadError : public std::runtime_error {
public:
    CRunReadError(int code, const std::string& reason) : std::runtime_error(reason), m_code(code) {}
    int Code() const noexcept { return m_code; }

private:
    int m_code;
};

}  // namespace corvelin
