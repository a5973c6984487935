#pragma once
// Temporary files that must not outlive an interrupted program (a library entry or a report being written
// beside its target): while such an object lives, its file is on a small process-wide list, and the SIGINT and
// SIGTERM handlers installed by InstallTemporaryFileCleanup remove every listed file before the program ends
// by that signal. Writers that are killed outright (SIGKILL) leave their file; the next writer of the same
// target removes it (see CLibraryChromatogram::SaveEntry).
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CORVELIN_ENGINE_EXPORT CPendingTemporaryFile {
public:
    // Lists path (longer paths than the list holds are not listed: they are simply not cleaned up).
    explicit CPendingTemporaryFile(const std::string& path) noexcept;
    // Takes the path off the list (the file itself is the writer's: renamed or removed by then).
    ~CPendingTemporaryFile();
    CPendingTemporaryFile(const CPendingTemporaryFile&) = delete;
    CPendingTemporaryFile& operator=(const CPendingTemporaryFile&) = delete;

private:
    int m_slot = -1;
};

// Installs handlers for SIGINT and SIGTERM that remove the listed files, then end the program by the same
// signal with its default action. A handler installed later for SIGINT (a search's stop) takes over; it
// should call RemovePendingTemporaryFiles itself when it ends the program.
CORVELIN_ENGINE_EXPORT void InstallTemporaryFileCleanup();

// Removes every listed file; async-signal-safe.
CORVELIN_ENGINE_EXPORT void RemovePendingTemporaryFiles() noexcept;

} // namespace corvelin
