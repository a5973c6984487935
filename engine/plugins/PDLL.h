#pragma once
// Holder of one dynamically loaded module (a .so opened with dlopen): the module path, a reference count and the
// table of lazily resolved entry points of the plug-in interface. An export is looked up the first time it is
// needed and the result, found or not, is kept, so a missing export is never looked up again.
#include <array>
#include <cstddef>
#include <mutex>
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

// The exports of the plug-in interface (PluginInterface.h), in table order.
enum class PluginExport : std::size_t {
    SetRegistryPath,
    IsFileReadable,
    ReadFromDataSystem,
    ResetChromatogram,
    GetDataSystemName,
    GetMassSpecsReadFilter,
    IsMassSpecsFileReadable,
    ReadMassSpecs,
    FreeMassSpecs,
    DatasystemOpen,
    DatasystemOverlay,
    ReadScanRun,
    FreeScanRun,
    Count
};

// The exact exported name of an entry point.
CORVELIN_ENGINE_EXPORT const char* PluginExportName(PluginExport which) noexcept;

class CORVELIN_ENGINE_EXPORT PDLL {
public:
    // Stores the path; does not load (see Load).
    explicit PDLL(std::string modulePath);
    // Frees the module whatever the reference count.
    virtual ~PDLL();
    PDLL(const PDLL&) = delete;
    PDLL& operator=(const PDLL&) = delete;

    // Adds a reference; the first one loads the module. When loading fails and showMessages is set, shows
    // "Error Loading Module <path>". Returns whether the module is loaded.
    virtual bool Load(bool showMessages);
    // Drops a reference; the last one frees the module (and forgets every resolved entry point, whose
    // addresses die with it).
    virtual void Release();

    bool IsLoaded() const noexcept { return m_handle != nullptr; }
    const std::string& GetModulePath() const noexcept { return m_modulePath; }
    int GetReferenceCount() const noexcept { return m_referenceCount; }
    // The loader's text for the last failed load (empty when none).
    const std::string& GetLoadError() const noexcept { return m_loadError; }

    // Address of an export, nullptr when the module is not loaded or does not export it.
    void* Resolve(PluginExport which);
    template <typename Function> Function Get(PluginExport which) { return reinterpret_cast<Function>(Resolve(which)); }
    // How many times the loader was asked for an export (each export at most once per load).
    int GetLookupCount() const noexcept { return m_lookupCount; }

private:
    struct CORVELIN_ENGINE_EXPORT EntryPoint {
        void* address = nullptr;
        bool lookedUp = false;
    };
    void Unload() noexcept;

    void* m_handle = nullptr;
    std::string m_modulePath;
    int m_referenceCount = 0;
    std::string m_loadError;
    std::array<EntryPoint, static_cast<std::size_t>(PluginExport::Count)> m_entryPoints{};
    int m_lookupCount = 0;
    std::mutex m_resolveMutex; // entry points may be resolved from a worker thread
};

} // namespace corvelin
