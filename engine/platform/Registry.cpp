#include "engine/platform/Registry.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

#include "engine/platform/NumberScan.h"
#include "engine/platform/WholeFile.h"

namespace corvelin {

namespace {

char LowerChar(char c) noexcept
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = LowerChar(c);
    return text;
}

bool EqualNoCase(const std::string& a, const std::string& b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerChar(a[i]) != LowerChar(b[i]))
            return false;
    return true;
}

// The key path without trailing backslashes, or nullopt when it is empty or has an empty component.
std::optional<std::string> NormalizeKeyPath(std::string path)
{
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    if (path.empty() || path.front() == '\\' || path.find("\\\\") != std::string::npos)
        return std::nullopt;
    return path;
}

// Whether `key` is `path` or lies below it (a key implies its parents).
bool KeyCovers(const std::string& key, const std::string& path)
{
    if (key.size() < path.size())
        return false;
    if (!EqualNoCase(key.substr(0, path.size()), path))
        return false;
    return key.size() == path.size() || key[path.size()] == '\\';
}

void AppendEscaped(std::string& out, const std::string& text, char closing)
{
    static const char hex[] = "0123456789abcdef";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"' || c == closing) {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u == 0x7f) {
            out += "\\x";
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
}

// Reads an escaped text from text[pos] up to the unescaped `closing` character; pos ends after it.
std::optional<std::string> ReadEscaped(const std::string& text, std::size_t& pos, char closing)
{
    std::string out;
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c == closing)
            return out;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (pos >= text.size())
            return std::nullopt;
        const char e = text[pos++];
        if (e == 'x' && pos + 1 < text.size() && HexDigitValue(text[pos]) >= 0 && HexDigitValue(text[pos + 1]) >= 0) {
            out += static_cast<char>(HexDigitValue(text[pos]) * 16 + HexDigitValue(text[pos + 1]));
            pos += 2;
        } else if (e == 'n') {
            out += '\n';
        } else if (e == 'r') {
            out += '\r';
        } else if (e == 't') {
            out += '\t';
        } else if (e == '0') {
            out += '\0';
        } else {
            out += e;
        }
    }
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> ReadHexBytes(const std::string& text, std::size_t pos)
{
    std::vector<std::uint8_t> bytes;
    while (pos < text.size()) {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == ','))
            ++pos;
        if (pos >= text.size())
            break;
        if (pos + 1 >= text.size() || HexDigitValue(text[pos]) < 0 || HexDigitValue(text[pos + 1]) < 0)
            return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(HexDigitValue(text[pos]) * 16 + HexDigitValue(text[pos + 1])));
        pos += 2;
    }
    return bytes;
}

std::optional<RegistryValue> ParseData(const std::string& text)
{
    RegistryValue value;
    std::size_t pos = 0;
    auto quoted = [&](std::uint32_t type) -> std::optional<RegistryValue> {
        const auto s = ReadEscaped(text, pos, '"');
        if (!s)
            return std::nullopt;
        value.Type = type;
        value.Data.assign(s->begin(), s->end());
        value.Data.push_back(0);
        return value;
    };
    if (text.starts_with("\"")) {
        pos = 1;
        return quoted(RegSz);
    }
    if (text.starts_with("str(")) {
        pos = 4;
        std::uint32_t type = 0;
        int digits = 0;
        while (pos < text.size() && HexDigitValue(text[pos]) >= 0 && digits < 8) {
            type = type * 16 + static_cast<std::uint32_t>(HexDigitValue(text[pos++]));
            ++digits;
        }
        if (digits == 0 || text.compare(pos, 3, "):\"") != 0)
            return std::nullopt;
        pos += 3;
        return quoted(type);
    }
    if (text.starts_with("dword:")) {
        std::uint32_t number = 0;
        pos = 6;
        int digits = 0;
        while (pos < text.size() && HexDigitValue(text[pos]) >= 0 && digits < 8) {
            number = number * 16 + static_cast<std::uint32_t>(HexDigitValue(text[pos++]));
            ++digits;
        }
        if (digits == 0 || pos != text.size())
            return std::nullopt;
        value.Type = RegDword;
        for (int i = 0; i < 4; ++i)
            value.Data.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
        return value;
    }
    if (text.starts_with("hex:") || text.starts_with("hex(")) {
        pos = 3;
        std::uint32_t type = RegBinary;
        if (text[3] == '(') {
            pos = 4;
            type = 0;
            int digits = 0;
            while (pos < text.size() && HexDigitValue(text[pos]) >= 0 && digits < 8) {
                type = type * 16 + static_cast<std::uint32_t>(HexDigitValue(text[pos++]));
                ++digits;
            }
            if (digits == 0 || pos >= text.size() || text[pos] != ')')
                return std::nullopt;
            ++pos;
        }
        if (pos >= text.size() || text[pos] != ':')
            return std::nullopt;
        auto bytes = ReadHexBytes(text, pos + 1);
        if (!bytes)
            return std::nullopt;
        value.Type = type;
        value.Data = std::move(*bytes);
        return value;
    }
    return std::nullopt;
}

void AppendHex(std::string& out, const std::vector<std::uint8_t>& data)
{
    char buffer[4];
    for (std::size_t i = 0; i < data.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, "%02x", data[i]);
        if (i)
            out += ',';
        out += buffer;
    }
}

// A text value is written in quotes when it is exactly one zero-terminated text.
bool IsPlainText(const RegistryValue& value)
{
    if (value.Data.empty() || value.Data.back() != 0)
        return false;
    for (std::size_t i = 0; i + 1 < value.Data.size(); ++i)
        if (value.Data[i] == 0)
            return false;
    return true;
}

const char* FileName(RegistryRoot root)
{
    switch (root) {
    case RegistryRoot::CurrentUser:
        return "user.reg";
    case RegistryRoot::LocalMachine:
        return "system.reg";
    case RegistryRoot::ClassesRoot:
        return "classes.reg";
    case RegistryRoot::Other:
        break;
    }
    return "other.reg";
}

RegistryFileKey* FindKey(std::vector<RegistryFileKey>& keys, const std::string& path)
{
    for (auto& key : keys)
        if (EqualNoCase(key.Path, path))
            return &key;
    return nullptr;
}

bool LoadKeys(const std::string& file, std::vector<RegistryFileKey>& keys)
{
    std::string text;
    const auto result = ReadWholeFile(file, CRegistry::MaxFileBytes, text);
    if (result != WholeFileRead::Read && result != WholeFileRead::Missing)
        return false;
    keys = ParseRegistryFile(text);
    return true;
}

} // namespace

std::vector<RegistryFileKey> ParseRegistryFile(const std::string& text)
{
    std::vector<RegistryFileKey> keys;
    // Lower-case key path -> index, and per key the lower-case names seen (the first of a name wins).
    std::unordered_map<std::string, std::size_t> keyIndex;
    std::vector<std::unordered_set<std::string>> names;
    std::size_t current = SIZE_MAX;
    std::size_t pos = 0;
    while (pos < text.size()) {
        auto end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        // A hex list may continue on the next lines after a trailing backslash.
        while (!line.empty() && line.back() == '\\' && line.find("=hex") != std::string::npos && pos < text.size()) {
            line.pop_back();
            end = text.find('\n', pos);
            if (end == std::string::npos)
                end = text.size();
            std::string next = text.substr(pos, end - pos);
            pos = end + 1;
            const auto first = next.find_first_not_of(" \t");
            line += first == std::string::npos ? std::string() : next.substr(first);
        }
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.pop_back();
        if (line.empty())
            continue;
        if (line.front() == '[') {
            std::size_t at = 1;
            current = SIZE_MAX;
            const auto name = ReadEscaped(line, at, ']');
            if (!name)
                continue;
            const auto path = NormalizeKeyPath(*name);
            if (!path)
                continue;
            const auto [it, added] = keyIndex.try_emplace(Lower(*path), keys.size());
            if (added) {
                keys.push_back(RegistryFileKey{*path, {}});
                names.emplace_back();
            }
            current = it->second;
            continue;
        }
        if (current == SIZE_MAX)
            continue;
        std::string name;
        std::size_t at = 0;
        if (line.front() == '@') {
            at = 1;
        } else if (line.front() == '"') {
            at = 1;
            const auto quoted = ReadEscaped(line, at, '"');
            if (!quoted)
                continue;
            name = *quoted;
        } else {
            continue;
        }
        if (at >= line.size() || line[at] != '=')
            continue;
        const auto value = ParseData(line.substr(at + 1));
        if (!value)
            continue;
        if (names[current].insert(Lower(name)).second)
            keys[current].Values.emplace_back(std::move(name), std::move(*value));
    }
    return keys;
}

std::string FormatRegistryFile(const std::vector<RegistryFileKey>& keys)
{
    std::string out = "WINE REGISTRY Version 2\n";
    for (const auto& key : keys) {
        out += "\n[";
        AppendEscaped(out, key.Path, ']');
        out += "]\n";
        for (const auto& [name, value] : key.Values) {
            if (name.empty()) {
                out += '@';
            } else {
                out += '"';
                AppendEscaped(out, name, '"');
                out += '"';
            }
            out += '=';
            const std::string text(value.Data.begin(), value.Data.empty() ? value.Data.end() : value.Data.end() - 1);
            if (value.Type == RegSz && IsPlainText(value)) {
                out += '"';
                AppendEscaped(out, text, '"');
                out += '"';
            } else if (value.Type != RegSz && value.Type != RegDword && value.Type != RegBinary && IsPlainText(value)) {
                char prefix[32];
                std::snprintf(prefix, sizeof prefix, "str(%x):\"", value.Type);
                out += prefix;
                AppendEscaped(out, text, '"');
                out += '"';
            } else if (value.Type == RegDword && value.Data.size() == 4) {
                char number[32];
                const std::uint32_t n = value.Data[0] | (value.Data[1] << 8) | (value.Data[2] << 16) |
                                        (static_cast<std::uint32_t>(value.Data[3]) << 24);
                std::snprintf(number, sizeof number, "dword:%08x", n);
                out += number;
            } else if (value.Type == RegBinary) {
                out += "hex:";
                AppendHex(out, value.Data);
            } else {
                char prefix[32];
                std::snprintf(prefix, sizeof prefix, "hex(%x):", value.Type);
                out += prefix;
                AppendHex(out, value.Data);
            }
            out += '\n';
        }
    }
    return out;
}

CRegistry::CRegistry(std::string folder) : m_folder(std::move(folder))
{
    if (!m_folder.empty() && m_folder.back() != '/')
        m_folder += '/';
}

std::string CRegistry::DefaultFolder()
{
    if (const char* dir = std::getenv("CORVELIN_REGISTRY_DIR"); dir && *dir)
        return dir;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        return std::string(config) + "/corvelinscope/registry";
    std::string home;
    if (const char* h = std::getenv("HOME"); h && *h) {
        home = h;
    } else if (const struct passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    }
    if (home.empty())
        return "./registry";
    return home + "/.config/corvelinscope/registry";
}

std::string CRegistry::FilePath(RegistryRoot root) const
{
    return m_folder + FileName(root);
}

bool CRegistry::OpenKey(RegistryRoot root, const std::string& keyPath) const
{
    const auto path = NormalizeKeyPath(keyPath);
    if (!path)
        return false;
    std::vector<RegistryFileKey> keys;
    if (!LoadKeys(FilePath(root), keys))
        return false;
    for (const auto& key : keys)
        if (KeyCovers(key.Path, *path))
            return true;
    // Creating: read again under the folder's lock, so that a concurrent change is not lost.
    const FolderWriteLock lock(FilePath(root));
    if (!LoadKeys(FilePath(root), keys))
        return false;
    for (const auto& key : keys)
        if (KeyCovers(key.Path, *path))
            return true;
    keys.push_back(RegistryFileKey{*path, {}});
    return WriteWholeFileAtomically(FilePath(root), FormatRegistryFile(keys), true);
}

std::optional<RegistryValue> CRegistry::QueryValue(RegistryRoot root, const std::string& keyPath,
                                                   const std::string& valueName) const
{
    const auto path = NormalizeKeyPath(keyPath);
    if (!path)
        return std::nullopt;
    std::vector<RegistryFileKey> keys;
    if (!LoadKeys(FilePath(root), keys))
        return std::nullopt;
    const RegistryFileKey* key = FindKey(keys, *path);
    if (!key)
        return std::nullopt;
    for (const auto& [name, value] : key->Values)
        if (EqualNoCase(name, valueName))
            return value;
    return std::nullopt;
}

std::vector<std::string> CRegistry::ValueNames(RegistryRoot root, const std::string& keyPath) const
{
    std::vector<std::string> names;
    const auto path = NormalizeKeyPath(keyPath);
    std::vector<RegistryFileKey> keys;
    if (!path || !LoadKeys(FilePath(root), keys))
        return names;
    if (const RegistryFileKey* key = FindKey(keys, *path))
        for (const auto& value : key->Values)
            names.push_back(value.first);
    return names;
}

bool CRegistry::SetValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                         const RegistryValue& value) const
{
    const auto path = NormalizeKeyPath(keyPath);
    if (!path)
        return false;
    const FolderWriteLock lock(FilePath(root));
    std::vector<RegistryFileKey> keys;
    if (!LoadKeys(FilePath(root), keys))
        return false;
    RegistryFileKey* key = FindKey(keys, *path);
    if (!key) {
        keys.push_back(RegistryFileKey{*path, {}});
        key = &keys.back();
    }
    bool replaced = false;
    for (auto& [name, existing] : key->Values) {
        if (EqualNoCase(name, valueName)) {
            existing = value;
            replaced = true;
            break;
        }
    }
    if (!replaced)
        key->Values.emplace_back(valueName, value);
    const std::string text = FormatRegistryFile(keys);
    if (text.size() > MaxFileBytes)
        return false;
    return WriteWholeFileAtomically(FilePath(root), text, true);
}

} // namespace corvelin
