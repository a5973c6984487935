// The ANDI/AIA netCDF reader module: the ANDI-MS parser behind the shared raw-data reader exports.
#include "andi-netcdf/AndiRunReader.h"
#include "peak-detector/ScanRunModule.h"

const char* const kModuleDataSystemName = "ANDI/AIA netCDF GC-MS";

CScanRun ParseModuleRun(const std::string& path)
{
    return ReadAndiRun(path);
}
