#pragma once
// Typed errors of the engine. Readers of outside files throw these; pages and the batch program turn them
// into the system's messages or exit codes. Nothing in the engine aborts on bad input.
#include <stdexcept>
#include <string>

namespace corvelin {

class CEngineException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An error the user caused or must be told about; the message has usually been shown already.
class CUserException : public CEngineException {
public:
    explicit CUserException(const std::string& what = "user exception") : CEngineException(what) {}
};

// The operation is not supported for this input (for example no plug-in reads the file).
class CNotSupportedException : public CEngineException {
public:
    explicit CNotSupportedException(const std::string& what = "not supported") : CEngineException(what) {}
};

// A caller passed an argument outside what an operation accepts (for example an index out of range).
class CInvalidArgumentException : public CEngineException {
public:
    explicit CInvalidArgumentException(const std::string& what = "invalid argument") : CEngineException(what) {}
};

// An error in a binary archive stream.
class CArchiveException : public CEngineException {
public:
    enum Cause { None = 0, Generic, ReadOnly, EndOfFile, WriteOnly, BadIndex, BadClass, BadSchema };
    CArchiveException(Cause cause, std::string path, const std::string& detail = {});
    Cause GetCause() const noexcept { return m_cause; }
    const std::string& GetPath() const noexcept { return m_path; }
    static const char* CauseName(Cause cause) noexcept;

private:
    Cause m_cause;
    std::string m_path;
};

// An error opening, reading or writing a file; carries the errno value when there is one.
class CFileException : public CEngineException {
public:
    enum Cause { None = 0, Generic, FileNotFound, BadPath, AccessDenied, InvalidFile, DiskFull, EndOfFile };
    CFileException(Cause cause, std::string path, int osError = 0, const std::string& detail = {});
    Cause GetCause() const noexcept { return m_cause; }
    const std::string& GetPath() const noexcept { return m_path; }
    int GetOsError() const noexcept { return m_osError; }
    // Maps an errno value to a cause (ENOENT -> FileNotFound, EACCES/EPERM/EROFS -> AccessDenied, ...).
    static Cause CauseFromErrno(int err) noexcept;

private:
    Cause m_cause;
    std::string m_path;
    int m_osError;
};

}  // namespace corvelin
