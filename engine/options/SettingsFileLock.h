#pragma once
// An exclusive lock around a read-modify-write of the settings that spans several operations (a plug-in
// registration reads the slot count, finds a slot and writes both): another process or thread doing the same
// waits until the lock is released, so no registration is lost. Held for the object's lifetime.
#include <mutex>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CORVELIN_ENGINE_EXPORT CSettingsFileLock {
public:
    // Locks the file "<settings file>.lock" (the INI store) or "settings.lock" in the registry folder, waiting
    // as long as another holder has it. A lock file that cannot be created leaves only the in-process lock.
    CSettingsFileLock();
    ~CSettingsFileLock();
    CSettingsFileLock(const CSettingsFileLock&) = delete;
    CSettingsFileLock& operator=(const CSettingsFileLock&) = delete;

private:
    std::unique_lock<std::mutex> m_processLock;
    int m_fd = -1;
};

} // namespace corvelin
