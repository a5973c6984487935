#include "engine/core/Exceptions.h"

#include <cerrno>
#include <cstring>

namespace corvelin {

const char* CArchiveException::CauseName(Cause cause) noexcept
{
    switch (cause) {
    case None:
        return "none";
    case Generic:
        return "generic";
    case ReadOnly:
        return "read-only";
    case EndOfFile:
        return "end of file";
    case WriteOnly:
        return "write-only";
    case BadIndex:
        return "bad index";
    case BadClass:
        return "bad class";
    case BadSchema:
        return "bad schema";
    }
    return "unknown";
}

CArchiveException::CArchiveException(Cause cause, std::string path, const std::string& detail, int code)
    : CEngineException(std::string("archive error (") + CauseName(cause) + ")" + (path.empty() ? "" : " in " + path) +
                       (detail.empty() ? "" : ": " + detail)),
      m_cause(cause), m_path(std::move(path)), m_code(code)
{
}

CFileException::CFileException(Cause cause, std::string path, int osError, const std::string& detail)
    : CEngineException((detail.empty() ? std::string("file error") : detail) + (path.empty() ? "" : " '" + path + "'") +
                       (osError ? std::string(": ") + std::strerror(osError) : std::string())),
      m_cause(cause), m_path(std::move(path)), m_osError(osError)
{
}

CFileException::Cause CFileException::CauseFromErrno(int err) noexcept
{
    switch (err) {
    case 0:
        return None;
    case ENOENT:
        return FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EISDIR:
        return BadPath;
    case EACCES:
    case EPERM:
    case EROFS:
        return AccessDenied;
    case ENOSPC:
    case EDQUOT:
        return DiskFull;
    default:
        return Generic;
    }
}

} // namespace corvelin
