#include "engine/platform/IniDocument.h"

namespace corvelin {

namespace {

bool IsBlank(char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) noexcept
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string Lower(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return result;
}

std::string OneLine(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        if (c == '\r' || c == '\n')
            c = ' ';
    return result;
}

// "key=value" with white space around both removed; nullopt for lines without "=".
struct Entry {
    std::string_view key;
    std::string_view value;
};

std::optional<Entry> ParseEntry(std::string_view line)
{
    line = Trim(line);
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return Entry{Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))};
}

// The section name of a header line ("[" ... last "]"), or nullopt.
std::optional<std::string_view> ParseHeader(std::string_view line)
{
    line = Trim(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    const auto close = line.rfind(']');
    if (close == std::string_view::npos || close == 0)
        return std::nullopt;
    return line.substr(1, close - 1);
}

} // namespace

void CIniDocument::Parse(std::string_view text)
{
    m_sections.clear();
    m_sectionIndex.clear();
    m_sections.emplace_back();
    std::size_t pos = 0;
    while (pos < text.size()) {
        auto end = text.find('\n', pos);
        const bool last = end == std::string_view::npos;
        if (last)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        pos = last ? text.size() : end + 1;

        if (const auto name = ParseHeader(line)) {
            Section section;
            section.name = std::string(*name);
            section.header = std::string(line);
            section.named = true;
            m_sectionIndex.try_emplace(Lower(*name), m_sections.size());
            m_sections.push_back(std::move(section));
        } else {
            m_sections.back().lines.emplace_back(line);
        }
    }
}

WholeFileRead CIniDocument::Load(const std::string& path)
{
    std::string bytes;
    const auto result = ReadWholeFile(path, MaxFileBytes, bytes);
    Parse(bytes);
    return result;
}

bool CIniDocument::Save(const std::string& path) const
{
    const std::string text = ToText();
    if (text.size() > MaxFileBytes)
        return false;
    return WriteWholeFileAtomically(path, text);
}

std::string CIniDocument::ToText() const
{
    std::string text;
    for (const Section& section : m_sections) {
        if (section.named) {
            text += section.header;
            text += "\r\n";
        }
        for (const std::string& line : section.lines) {
            text += line;
            text += "\r\n";
        }
    }
    return text;
}

const CIniDocument::Section* CIniDocument::FindSection(std::string_view name) const
{
    const auto it = m_sectionIndex.find(Lower(name));
    return it == m_sectionIndex.end() ? nullptr : &m_sections[it->second];
}

CIniDocument::Section* CIniDocument::FindSection(std::string_view name)
{
    const auto it = m_sectionIndex.find(Lower(name));
    return it == m_sectionIndex.end() ? nullptr : &m_sections[it->second];
}

std::optional<std::size_t> CIniDocument::FindLine(const Section& section, std::string_view key) const
{
    if (!section.keys) {
        section.keys = std::make_unique<std::unordered_map<std::string, std::size_t>>();
        for (std::size_t i = 0; i < section.lines.size(); ++i)
            if (const auto entry = ParseEntry(section.lines[i]))
                section.keys->try_emplace(Lower(entry->key), i);
    }
    const auto it = section.keys->find(Lower(Trim(key)));
    if (it == section.keys->end())
        return std::nullopt;
    return it->second;
}

std::optional<std::string_view> CIniDocument::Find(std::string_view section, std::string_view key) const
{
    const Section* found = FindSection(section);
    if (!found)
        return std::nullopt;
    const auto line = FindLine(*found, key);
    if (!line)
        return std::nullopt;
    return ParseEntry(found->lines[*line])->value;
}

bool CIniDocument::HasSection(std::string_view section) const
{
    return FindSection(section) != nullptr;
}

void CIniDocument::Set(std::string_view sectionName, std::string_view key, std::string_view value)
{
    const std::string cleanKey = OneLine(Trim(key));
    Section* section = FindSection(sectionName);
    if (!section) {
        Section created;
        created.name = OneLine(sectionName);
        created.header = "[" + created.name + "]";
        created.named = true;
        m_sectionIndex.try_emplace(Lower(created.name), m_sections.size());
        m_sections.push_back(std::move(created));
        section = &m_sections.back();
    }
    if (const auto line = FindLine(*section, cleanKey)) {
        // Keep the key as the file spells it.
        const std::string stored(ParseEntry(section->lines[*line])->key);
        section->lines[*line] = stored + "=" + OneLine(value);
        return;
    }
    // Append after the section's last non-blank line, so blank lines before the next header stay there.
    std::size_t at = section->lines.size();
    while (at > 0 && Trim(section->lines[at - 1]).empty())
        --at;
    section->lines.insert(section->lines.begin() + static_cast<std::ptrdiff_t>(at), cleanKey + "=" + OneLine(value));
    // Only blank lines moved, so the indexes of all keys stay valid.
    if (section->keys)
        section->keys->try_emplace(Lower(cleanKey), at);
}

void CIniDocument::Remove(std::string_view sectionName, std::string_view key)
{
    Section* section = FindSection(sectionName);
    if (!section)
        return;
    if (const auto line = FindLine(*section, key)) {
        section->lines.erase(section->lines.begin() + static_cast<std::ptrdiff_t>(*line));
        section->keys.reset();
    }
}

std::vector<std::string_view> CIniDocument::SectionNames() const
{
    std::vector<std::string_view> names;
    for (const Section& section : m_sections)
        if (section.named)
            names.push_back(section.name);
    return names;
}

void CIniDocument::ForEachKey(std::string_view sectionName,
                              const std::function<void(std::string_view key, std::string_view value)>& visit) const
{
    const Section* section = FindSection(sectionName);
    if (!section)
        return;
    for (const std::string& line : section->lines)
        if (const auto entry = ParseEntry(line))
            visit(entry->key, entry->value);
}

} // namespace corvelin
