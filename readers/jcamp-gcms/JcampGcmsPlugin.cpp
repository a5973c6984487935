// The JCAMP-DX GC/MS reader module: the JCAMP parser behind the shared raw-data reader exports.
#include "jcamp-gcms/JcampRunReader.h"
#include "peak-detector/ScanRunModule.h"

const char* const kModuleDataSystemName = "JCAMP-DX GC/MS";

CScanRun ParseModuleRun(const std::string& path)
{
    return ReadJcampRun(path);
}
