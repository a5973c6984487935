#pragma once
// The private-profile functions Linux lacks, with Windows semantics, on top of CIniDocument. Every call reads
// the file anew; a write rewrites it atomically (and creates it, and its section, when absent).
#include <cstddef>
#include <string>
#include <string_view>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CIniDocument;

// The reading rules of the profile reader, shared by the file functions below and by readers that load a
// document once: the value of section/key with one pair of matching surrounding quotes (' or ") removed, or the
// default with its trailing blanks removed when the key is absent (a key with an empty value gives ""); the result
// is cut to bufferSize - 1 characters, as a buffer of that size would hold.
CORVELIN_ENGINE_EXPORT std::string ProfileString(const CIniDocument& document, std::string_view section,
                                                 std::string_view key, std::string_view defaultText,
                                                 std::size_t bufferSize);
// The same rules applied to a raw value found by enumerating a document's keys.
CORVELIN_ENGINE_EXPORT std::string ProfileValue(std::string_view rawValue, std::size_t bufferSize);
// The key's text read as an integer: leading blanks, an optional sign and the leading decimal digits (32-bit
// wrap-around; text without digits reads 0); the default when the key is absent or its value is empty.
CORVELIN_ENGINE_EXPORT int ProfileInt(const CIniDocument& document, std::string_view section, std::string_view key,
                                      int defaultValue);

CORVELIN_ENGINE_EXPORT std::string GetPrivateProfileText(const std::string& path, std::string_view section,
                                                         std::string_view key, std::string_view defaultText,
                                                         std::size_t bufferSize);
CORVELIN_ENGINE_EXPORT int GetPrivateProfileInteger(const std::string& path, std::string_view section,
                                                    std::string_view key, int defaultValue);
// Writes the text, or removes the key when text is nullptr. Returns false when the file could not be written.
CORVELIN_ENGINE_EXPORT bool WritePrivateProfileText(const std::string& path, std::string_view section,
                                                    std::string_view key, const char* text);

} // namespace corvelin
