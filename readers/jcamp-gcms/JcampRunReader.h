#pragma once
// Reads a JCAMP-DX GC/MS run: one block per scan, opened by ##PAGE= T=… or ##SCAN_NUMBER=, timed by the
// page's T or ##RETENTION_TIME=, with its mass list in ##XYDATA=/##DATA TABLE=/##PEAK TABLE= (XY..XY) pairs.
//
// Retention-time units: the unit the file states for the time variable (the T column of ##UNITS= in an
// NTUPLES file) decides; without one the per-scan times are seconds, the unit of JCAMP-DX MS retention
// times. Header ##FIRST=/##LAST= are never used: real files give them in minutes while their pages are
// in seconds.
//
// Refused (CRunReadError with an errno-style code): text that is not JCAMP-DX, files with fewer than two timed
// scans (a single spectrum or a spectrum collection is not a chromatogram), truncated files (a last scan with
// fewer lines than its ##NPOINTS=, a half pair, an NTUPLES block without its end) and unreadable data lines.
#include <cstddef>
#include <string>
#include <string_view>

#include "engine/peaks/ScanRun.h"

namespace corvelin {

// Parses file text; name is used in texts and as the data-file name. Throws CRunReadError.
CScanRun ParseJcampRun(std::string_view text, const std::string& name);
// Reads and parses the file at path. Throws CRunReadError.
CScanRun ReadJcampRun(const std::string& path);

} // namespace corvelin
