// The mzML / mzXML reader module: the mzML parser behind the shared raw-data reader exports.
#include "readers/mzml/MzmlRunReader.h"
#include "readers/peak-detector/ScanRunModule.h"

namespace corvelin {

const char* const kModuleDataSystemName = "mzML/mzXML GC-MS";

CScanRun ParseModuleRun(const std::string& path)
{
    return ReadMzmlRun(path);
}

} // namespace corvelin
