#pragma once
// Reads an mzML or mzXML GC-MS run through the packaged mass-spectrometry data library, which decodes plain,
// zlib-compressed and numpress-encoded arrays: the MS1 scans in file order with their scan start times
// (the file's unit, seconds or minutes) and each scan's lines as stored, profile or centroid. The shared peak
// detector bins the lines to nominal mass like the other raw readers.
//
// Refused (CRunReadError with an errno-style code and a sentence that says why): a file that is not mzML or
// mzXML (not XML at all, another XML format), a truncated or damaged file, a run without scans (chromatograms
// only), a run without MS1 scans (MS/MS only), an MS1 scan without a scan start time, and fewer than two MS1
// scans (a single spectrum is not a chromatogram). Scans announcing more lines than their arrays hold are
// refused instead of being padded, and a scan may hold at most kMaxMzmlLinesPerScan lines.
#include <cstddef>
#include <string>

#include "engine/peaks/ScanRun.h"

namespace corvelin {

inline constexpr std::size_t kMaxMzmlLinesPerScan = std::size_t{1} << 24;

// Reads the run at path. Throws CRunReadError.
CScanRun ReadMzmlRun(const std::string& path);

} // namespace corvelin
