#include "engine/platform/PrivateProfile.h"

#include <cstdint>

#include "engine/platform/IniDocument.h"
#include "engine/platform/WholeFile.h"

namespace corvelin {

namespace {

std::string Cut(std::string_view text, std::size_t bufferSize)
{
    if (bufferSize == 0)
        return std::string();
    return std::string(text.substr(0, bufferSize - 1));
}

} // namespace

std::string ProfileString(const CIniDocument& document, std::string_view section, std::string_view key,
                          std::string_view defaultText, std::size_t bufferSize)
{
    const auto value = document.Find(section, key);
    if (!value) {
        while (!defaultText.empty() && defaultText.back() == ' ')
            defaultText.remove_suffix(1);
        return Cut(defaultText, bufferSize);
    }
    return ProfileValue(*value, bufferSize);
}

std::string ProfileValue(std::string_view text, std::size_t bufferSize)
{
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
        text = text.substr(1, text.size() - 2);
    return Cut(text, bufferSize);
}

int ProfileInt(const CIniDocument& document, std::string_view section, std::string_view key, int defaultValue)
{
    const std::string text = ProfileString(document, section, key, "", 256);
    if (text.empty())
        return defaultValue;
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    if (negative)
        value = 0u - value;
    return static_cast<int>(value);
}

std::string GetPrivateProfileText(const std::string& path, std::string_view section, std::string_view key,
                                  std::string_view defaultText, std::size_t bufferSize)
{
    CIniDocument document;
    document.Load(path);
    return ProfileString(document, section, key, defaultText, bufferSize);
}

int GetPrivateProfileInteger(const std::string& path, std::string_view section, std::string_view key, int defaultValue)
{
    CIniDocument document;
    document.Load(path);
    return ProfileInt(document, section, key, defaultValue);
}

bool WritePrivateProfileText(const std::string& path, std::string_view section, std::string_view key, const char* text)
{
    const FolderWriteLock lock(path);
    CIniDocument document;
    const auto loaded = document.Load(path);
    // Never replace a file that could not be read with a document that lacks its content.
    if (loaded != WholeFileRead::Read && loaded != WholeFileRead::Missing)
        return false;
    if (text)
        document.Set(section, key, text);
    else if (loaded == WholeFileRead::Missing || !document.Find(section, key))
        return true;
    else
        document.Remove(section, key);
    return document.Save(path);
}

} // namespace corvelin
