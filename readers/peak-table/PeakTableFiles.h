#pragma once
// File-level reading for the peak table module: the check behind IsFileReadable and the read behind
// ReadFromDataSystem. The module's exports only translate these into codes and texts.
#include <cstddef>
#include <string>

#include "readers/peak-table/PeakTableColumns.h"
#include "engine/core/Exceptions.h"
#include "engine/core/LibraryChromatogram.h"
#include "readers/peak-list/PeakListPluginSupport.h"

namespace corvelin {

namespace peaktable {

// Files larger than this are refused (real peak tables are a few MiB at most).
inline constexpr std::size_t kMaxFileBytes = 64u << 20;
// How much of a file the check reads to find the header row.
inline constexpr std::size_t kHeadBytes = 16u << 20;

// A refused or unreadable file: an errno-style code and a sentence for the user.
using FileError = peaklist::FileError;

// 0 when path is a peak table with a retention time and a spectrum column; otherwise the open error (ENOENT,
// EACCES, ...), EFBIG, or EMEDIUMTYPE with the reason in *reason. Never throws.
int CheckPeakTableFile(const std::string& path, const LabColumns& lab, std::string* reason) noexcept;

// Reads a peak table into an empty chromatogram. Throws FileError (unreadable, too large) or TableError (no
// retention time or spectrum column, a damaged row). Returns a warning that names the rows left out (negative or
// too large areas or heights), empty when none was.
std::string ReadPeakTableFile(const std::string& path, const LabColumns& lab, double minAreaPercent,
                              CLibraryChromatogram& chromatogram);

} // namespace peaktable

} // namespace corvelin
