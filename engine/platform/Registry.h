#pragma once
// The registry Linux lacks: keys with typed values, one text file per root in one folder, in the style of Wine's
// ".reg" files:
//
//   WINE REGISTRY Version 2
//
//   [SOFTWARE\\Felsmark Labs\\Settings]
//   "UseRegistry"=dword:00000001
//   "Name"="text"                 REG_SZ (stored with its terminating zero)
//   "Path"=str(2):"%HOME%/x"      REG_EXPAND_SZ
//   @="default value"
//   "Raw"=hex(1):41,42            any type and bytes, e.g. a REG_SZ without its terminating zero
//
// Files: user.reg (HKEY_CURRENT_USER), system.reg (HKEY_LOCAL_MACHINE), classes.reg (HKEY_CLASSES_ROOT),
// other.reg (any other root). Folder: $CORVELIN_REGISTRY_DIR, else $XDG_CONFIG_HOME/corvelinscope/registry,
// else ~/.config/corvelinscope/registry. Key paths and value names compare without regard to ASCII case.
// Every call reads the root's file anew; changes are written atomically.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

enum class RegistryRoot { CurrentUser, LocalMachine, ClassesRoot, Other };

enum RegistryType : std::uint32_t { RegNone = 0, RegSz = 1, RegExpandSz = 2, RegBinary = 3, RegDword = 4 };

struct CORVELIN_ENGINE_EXPORT RegistryValue {
    std::uint32_t Type = RegNone;
    std::vector<std::uint8_t> Data;
    bool operator==(const RegistryValue&) const = default;
};

class CORVELIN_ENGINE_EXPORT CRegistry {
public:
    // Registry files larger than this are neither read nor rewritten.
    static constexpr std::size_t MaxFileBytes = 4 * 1024 * 1024;

    explicit CRegistry(std::string folder);
    // The folder the environment selects (see above).
    static std::string DefaultFolder();

    const std::string& Folder() const noexcept { return m_folder; }
    std::string FilePath(RegistryRoot root) const;

    // Opens the key, creating it (with its file and folder) when absent. False when it is absent and cannot be
    // created, or when the path is not a valid key path (empty, or an empty component such as "a\\\\b").
    // A trailing backslash is allowed.
    bool OpenKey(RegistryRoot root, const std::string& keyPath) const;
    // The value (name "" = the key's default value), or nullopt when the key or value is absent.
    std::optional<RegistryValue> QueryValue(RegistryRoot root, const std::string& keyPath,
                                            const std::string& valueName) const;
    // The names of the key's values in file order; empty when the key is absent.
    std::vector<std::string> ValueNames(RegistryRoot root, const std::string& keyPath) const;
    // Sets the value, creating the key when absent. False when the file could not be written.
    bool SetValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                  const RegistryValue& value) const;

private:
    std::string m_folder;
};

// The text form of a registry file and back (exposed for tests and the fuzz target). Parsing never fails: lines
// that are not understood are skipped.
struct CORVELIN_ENGINE_EXPORT RegistryFileKey {
    std::string Path; // components separated by single backslashes
    std::vector<std::pair<std::string, RegistryValue>> Values;
};
CORVELIN_ENGINE_EXPORT std::vector<RegistryFileKey> ParseRegistryFile(const std::string& text);
CORVELIN_ENGINE_EXPORT std::string FormatRegistryFile(const std::vector<RegistryFileKey>& keys);

} // namespace corvelin
