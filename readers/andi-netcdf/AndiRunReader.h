#pragma once
// Reads an ANDI-MS (ASTM E1947) netCDF file into a centroided run. Refuses, with an errno-style code and a
// reason, everything that is not an ANDI-MS run: files that are not netCDF classic (a ZIP named .CDF, HDF5),
// ANDI chromatography files without mass spectra, ANDI-MS libraries of reference spectra, and files whose
// scan table or values are inconsistent beyond repair.
#include <cstddef>
#include <string>

#include "engine/peaks/ScanRun.h"

namespace corvelin {

// Reads the file at path. Throws CRunReadError.
CScanRun ReadAndiRun(const std::string& path);
// Reads a file image held in memory (name is used in texts only). Throws CRunReadError.
CScanRun ReadAndiRunFromMemory(const void* data, std::size_t size, const std::string& name);

// Factor that turns a time in the stated unit into minutes ("Seconds", "Minutes", "ms", ...). Times without
// a unit or in "Arbitrary Time Units" are taken as seconds, the unit every ANDI-MS writer uses.
double AndiTimeUnitToMinutes(const std::string& unitText);

} // namespace corvelin
