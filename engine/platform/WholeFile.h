#pragma once
// Whole-file reading with a size bound and atomic whole-file writing, for the small text files the program keeps
// (settings, registry, search parameters).
#include <cstddef>
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

enum class WholeFileRead { Read, Missing, TooLarge, Failed };

// Reads the file into `bytes` when it holds at most maxBytes bytes; otherwise `bytes` is left empty. Anything
// but a regular file (a folder, FIFO, socket or device) is Failed at once, without waiting for a writer.
CORVELIN_ENGINE_EXPORT WholeFileRead ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes);

// WriteFileAtomically (platform/TextFile.h: temporary file + rename, the old file stays on failure) for writers
// whose failures are silent: returns false instead of throwing. With createFolders, missing parent folders are
// created first.
CORVELIN_ENGINE_EXPORT bool WriteWholeFileAtomically(const std::string& path, const std::string& bytes,
                                                     bool createFolders = false);

// Serialises read-change-replace cycles on files of one folder between processes (and threads): holds an
// exclusive flock on the folder of `path` while alive. Where the folder cannot be locked (missing, or a file
// system without locks) it does nothing, and the cycle runs unprotected as before.
class CORVELIN_ENGINE_EXPORT FolderWriteLock {
public:
    explicit FolderWriteLock(const std::string& path);
    ~FolderWriteLock();
    FolderWriteLock(const FolderWriteLock&) = delete;
    FolderWriteLock& operator=(const FolderWriteLock&) = delete;

private:
    int m_fd = -1;
};

} // namespace corvelin
