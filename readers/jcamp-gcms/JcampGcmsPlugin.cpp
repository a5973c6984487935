// The JCAMP-DX GC/MS reader module: the JCAMP parser behind the shared raw-data reader exports.
#include "readers/jcamp-gcms/JcampRunReader.h"
#include "readers/peak-detector/ScanRunModule.h"

namespace corvelin {

const char* const kModuleDataSystemName = "JCAMP-DX GC/MS";

CScanRun ParseModuleRun(const std::string& path)
{
    return ReadJcampRun(path);
}

} // namespace corvelin
