// The ANDI/AIA netCDF reader module: the ANDI-MS parser behind the shared raw-data reader exports.
#include "readers/andi-netcdf/AndiRunReader.h"
#include "readers/peak-detector/ScanRunModule.h"

namespace corvelin {

const char* const kModuleDataSystemName = "ANDI/AIA netCDF GC-MS";

CScanRun ParseModuleRun(const std::string& path)
{
    return ReadAndiRun(path);
}

} // namespace corvelin
