// Fuzzes the INI reader and writer (private-profile semantics) and the registry file parser.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/platform/IniDocument.h"
#include "engine/platform/PrivateProfile.h"
#include "engine/platform/Registry.h"

using namespace corvelin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CIniDocument document(text);
    for (const auto section : document.SectionNames()) {
        const std::string name(section);
        document.ForEachKey(name, [&](std::string_view key, std::string_view) {
            (void)ProfileString(document, name, key, "d", 260);
            (void)ProfileInt(document, name, key, 7);
        });
    }
    // Writing and reading back: the value must be found again, under any case of its names.
    document.Set("Fuzz Section", "Key", "value");
    if (ProfileString(document, "FUZZ section", "key", "", 4096) != "value")
        std::abort();
    const std::string written = document.ToText();
    CIniDocument again(written);
    if (again.ToText() != written)
        std::abort();

    const auto keys = ParseRegistryFile(text);
    const std::string formatted = FormatRegistryFile(keys);
    if (FormatRegistryFile(ParseRegistryFile(formatted)) != formatted)
        std::abort();
    return 0;
}
