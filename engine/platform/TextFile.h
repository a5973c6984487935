#pragma once
// Writing user files whole: the data goes to a temporary file in the target's folder, which is then renamed
// over the target, so an existing file is never left half-written. Text-mode files hold CR LF line ends:
// the system's file formats are written as a text-mode file would be on the desktop platform.
#include <string>
#include <string_view>

#include "engine/core/EngineExport.h"

namespace corvelin {

// Every "\n" of the text becomes CR LF (a "\r\n" in the text therefore becomes CR CR LF).
CORVELIN_ENGINE_EXPORT std::string TextModeBytes(std::string_view text);

// Replaces (or creates) the file with exactly these bytes.
// @exception CFileException with the errno of the failing step; the target is then unchanged.
CORVELIN_ENGINE_EXPORT void WriteFileAtomically(const std::string& path, std::string_view bytes);

// WriteFileAtomically(path, TextModeBytes(text)).
CORVELIN_ENGINE_EXPORT void WriteTextFile(const std::string& path, std::string_view text);

// Writes the text-mode file whole under path, or, when a file of that name exists, under the first free name
// made by inserting " (2)", " (3)", ... before the extension ("run1 2024-05-01 10-00 (2).csv"). An existing file
// is never replaced. Returns the name used.
// @exception CFileException with the errno of the failing step; no file is left then.
CORVELIN_ENGINE_EXPORT std::string WriteTextFileUnderFreeName(const std::string& path, std::string_view text);

// path when no file of that name exists, else the first free name as WriteTextFileUnderFreeName makes it
// (for files another writer creates, such as a printed PDF).
CORVELIN_ENGINE_EXPORT std::string FreeFileName(const std::string& path);

} // namespace corvelin
