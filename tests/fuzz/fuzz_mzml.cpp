// Fuzzes the mzML/mzXML reader (the data library reads from a file, so each input goes through a temporary file)
// and the peak detector behind it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "readers/mzml/MzmlRunReader.h"
#include "engine/peaks/PeakDetector.h"
#include "readers/peak-detector/RunReadError.h"

using namespace corvelin;

namespace {

std::string TemporaryPath()
{
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/corvelin-fuzz-" + std::to_string(getpid()) + ".mzML";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = TemporaryPath();
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    try {
        const CScanRun run = ReadMzmlRun(path);
        CPeakList list = DetectPeaks(run, CPeakDetectorSettings{});
        FilterPeaks(list, 1.0, 50);
    } catch (const CRunReadError&) {
    }
    std::remove(path.c_str());
    return 0;
}
