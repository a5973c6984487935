#pragma once
// An INI text held in memory with Windows private-profile semantics: section and key names compare without
// regard to ASCII case, the first matching section and, inside it, the first matching key win; a write replaces
// a value in place or appends the key at the end of its section (creating the section at the end of the text).
// Lines that are neither section headers nor "key=value" (comments, blank lines, junk) are kept as they are.
//
// Line ends: LF and CR LF are read; every line is written with CR LF, the defined line end of INI text (parameter
// files travel between machines, Windows ones included), so a rewritten file has CR LF throughout.
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/platform/WholeFile.h"

namespace corvelin {

class CORVELIN_ENGINE_EXPORT CIniDocument {
public:
    // Larger files are not read (defaults) and not rewritten (writes dropped): settings and parameter files are
    // far smaller, and the bound keeps a hostile file from costing unbounded memory.
    static constexpr std::size_t MaxFileBytes = 4 * 1024 * 1024;

    CIniDocument() = default;
    explicit CIniDocument(std::string_view text) { Parse(text); }

    // Replaces the content with the parsed text (any bytes).
    void Parse(std::string_view text);
    // Loads a file. Missing, unreadable and too large files leave the document empty; the result says which.
    WholeFileRead Load(const std::string& path);
    // Writes the text to the file atomically (temporary file + rename). Returns false when nothing was written.
    bool Save(const std::string& path) const;
    // The whole text, every line ending in CR LF.
    std::string ToText() const;

    // The value of the first key of that name in the first section of that name, with white space around it
    // removed (quotes are kept; the profile reader strips them). nullopt when the section or key is absent.
    // The view is valid until the document changes.
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;
    bool HasSection(std::string_view section) const;
    // Sets the key's value (CR and LF in names and value become blanks, so that a value cannot add lines).
    void Set(std::string_view section, std::string_view key, std::string_view value);
    // Removes the first key of that name from the first section of that name, if present.
    void Remove(std::string_view section, std::string_view key);

    // The names of all sections in text order, duplicates included.
    std::vector<std::string_view> SectionNames() const;
    // Calls visit(key, value) for every "key=value" line of the first section of that name, in text order.
    void ForEachKey(std::string_view section,
                    const std::function<void(std::string_view key, std::string_view value)>& visit) const;

private:
    struct CORVELIN_ENGINE_EXPORT Section {
        std::string name;
        std::string header; // the header line as read ("" for the part before the first header)
        bool named = false;
        std::vector<std::string> lines;
        // Lower-case key -> index of its first line; built on the first lookup.
        mutable std::unique_ptr<std::unordered_map<std::string, std::size_t>> keys;
    };

    const Section* FindSection(std::string_view name) const;
    Section* FindSection(std::string_view name);
    std::optional<std::size_t> FindLine(const Section& section, std::string_view key) const;

    std::vector<Section> m_sections; // m_sections[0] holds the lines before the first header
    std::unordered_map<std::string, std::size_t> m_sectionIndex; // lower-case name -> first section
};

} // namespace corvelin
