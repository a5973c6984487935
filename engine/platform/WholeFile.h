#pragma once
// Whole-file reading with a size bound and atomic whole-file writing, for the small text files the program keeps
// (settings, registry, search parameters).
#include <cstddef>
#include <string>

enum class WholeFileRead { Read, Missing, TooLarge, Failed };

// Reads the file into `bytes` when it holds at most maxBytes bytes; otherwise `bytes` is left empty.
WholeFileRead ReadWholeFile(const std::string& path, std::size_t maxBytes, std::string& bytes);

// Writes the bytes to a temporary file beside `path` and renames it over `path`, so that readers see either the
// old or the new content and a failed write leaves the old file in place. An existing file keeps its permission
// bits. With createFolders, missing parent folders are created first. Returns false when nothing was written.
bool WriteWholeFileAtomically(const std::string& path, const std::string& bytes, bool createFolders = false);
