#pragma once
// Installs a plug-in list holding only the library-entry reader (the module at modulePath) while the object
// lives, so a test can read ".ChromLibEntry" unknowns through the plug-ins; the previous list comes back after.
#include <memory>
#include <string>

namespace corvelin {

class CDatasystemPlugins;

class ScopedEntryReader {
public:
    explicit ScopedEntryReader(const std::string& modulePath);
    ~ScopedEntryReader();
    ScopedEntryReader(const ScopedEntryReader&) = delete;
    ScopedEntryReader& operator=(const ScopedEntryReader&) = delete;

private:
    std::unique_ptr<CDatasystemPlugins> m_previous;
};

} // namespace corvelin
