#pragma once
// Typed errors of the engine. Readers of outside files throw these; pages and the batch program turn them
// into the system's messages or exit codes. Nothing in the engine aborts on bad input.
#include <cerrno>
#include <cstddef>
#include <stdexcept>
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

// The one base of every error the engine and its readers throw: a boundary (page, batch program, plug-in export)
// catches this, and std::bad_alloc, and turns it into the documented message or exit code.
class CORVELIN_ENGINE_EXPORT CEngineException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A reader refuses the contents of an outside file: malformed text, an unknown layout, a value out of range, a
// file too large. Code is the errno-style value IsFileReadable reports for it (EINVAL for a wrong format);
// Line is the 1-based line of a text format, 0 when there is none.
class CORVELIN_ENGINE_EXPORT CFormatException : public CEngineException {
public:
    explicit CFormatException(const std::string& what, int code = EINVAL, std::size_t line = 0)
        : CEngineException(what), m_code(code), m_line(line)
    {
    }
    int Code() const noexcept { return m_code; }
    std::size_t Line() const noexcept { return m_line; }

private:
    int m_code;
    std::size_t m_line;
};

// An error the user caused or must be told about; the message has usually been shown already.
class CORVELIN_ENGINE_EXPORT CUserException : public CEngineException {
public:
    explicit CUserException(const std::string& what = "user exception") : CEngineException(what) {}
};

// The operation is not supported for this input (for example no plug-in reads the file).
class CORVELIN_ENGINE_EXPORT CNotSupportedException : public CEngineException {
public:
    // code: the errno-style value of the reader that refused the input (0 when none did).
    explicit CNotSupportedException(const std::string& what = "not supported", int code = 0)
        : CEngineException(what), m_code(code)
    {
    }
    int Code() const noexcept { return m_code; }

private:
    int m_code;
};

// A caller passed an argument outside what an operation accepts or broke a documented precondition (an index
// out of range, a cell table smaller than the peak counts, a mass below 1). The text names what was wrong.
class CORVELIN_ENGINE_EXPORT CInvalidArgumentException : public CEngineException {
public:
    explicit CInvalidArgumentException(const std::string& what = "invalid argument") : CEngineException(what) {}
};

// An error in a binary archive stream.
class CORVELIN_ENGINE_EXPORT CArchiveException : public CEngineException {
public:
    enum Cause { None = 0, Generic, ReadOnly, EndOfFile, WriteOnly, BadIndex, BadClass, BadSchema };
    // code: the errno-style value a reader gave for the failure (0 when it gave none).
    CArchiveException(Cause cause, std::string path, const std::string& detail = {}, int code = 0);
    Cause GetCause() const noexcept { return m_cause; }
    const std::string& GetPath() const noexcept { return m_path; }
    int Code() const noexcept { return m_code; }
    static const char* CauseName(Cause cause) noexcept;

private:
    Cause m_cause;
    std::string m_path;
    int m_code;
};

// An error opening, reading or writing a file; carries the errno value when there is one.
class CORVELIN_ENGINE_EXPORT CFileException : public CEngineException {
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

} // namespace corvelin
