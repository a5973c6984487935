#include "engine/plugins/PDLL.h"

#include <dlfcn.h>

#include "engine/platform/MessageSink.h"

namespace corvelin {

namespace {

constexpr std::array<const char*, static_cast<std::size_t>(PluginExport::Count)> kExportNames = {
    "SetRegistryPath",   "IsFileReadable",         "ReadFromDataSystem",      "ResetChromatogram",
    "GetDataSystemName", "GetMassSpecsReadFilter", "IsMassSpecsFileReadable", "ReadMassSpecs",
    "FreeMassSpecs",     "DatasystemOpen",         "DatasystemOverlay",       "ReadScanRun",
    "FreeScanRun",
};

} // namespace

const char* PluginExportName(PluginExport which) noexcept
{
    const auto i = static_cast<std::size_t>(which);
    return i < kExportNames.size() ? kExportNames[i] : "";
}

PDLL::PDLL(std::string modulePath) : m_modulePath(std::move(modulePath)) {}

PDLL::~PDLL()
{
    Unload();
}

bool PDLL::Load(bool showMessages)
{
    ++m_referenceCount;
    if (m_referenceCount == 1 && !m_handle) {
        // RTLD_NOW: a module with unresolved symbols fails here, not in the middle of a read.
        // RTLD_NODELETE: the code stays mapped after the last release, because what a module produced can outlive
        // it (an exception object in flight, inline destructors and type information it emitted).
        m_handle = dlopen(m_modulePath.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        if (!m_handle) {
            const char* error = dlerror();
            m_loadError = error ? error : "";
            if (showMessages)
                ShowMessage("Error Loading Module " + m_modulePath);
        } else {
            m_loadError.clear();
        }
    }
    return m_handle != nullptr;
}

void PDLL::Release()
{
    if (m_referenceCount > 0 && --m_referenceCount == 0)
        Unload();
}

void PDLL::Unload() noexcept
{
    std::lock_guard lock(m_resolveMutex);
    if (m_handle)
        dlclose(m_handle);
    m_handle = nullptr;
    m_entryPoints = {};
}

void* PDLL::Resolve(PluginExport which)
{
    const auto i = static_cast<std::size_t>(which);
    if (i >= m_entryPoints.size())
        return nullptr;
    std::lock_guard lock(m_resolveMutex);
    if (!m_handle)
        return nullptr;
    EntryPoint& entry = m_entryPoints[i];
    if (!entry.lookedUp) {
        entry.address = dlsym(m_handle, kExportNames[i]);
        entry.lookedUp = true;
        ++m_lookupCount;
    }
    return entry.address;
}

} // namespace corvelin
