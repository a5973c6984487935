// Fuzzes the ANDI-MS netCDF parser (through an in-memory netCDF image) and the peak detector behind it.
#include <cstddef>
#include <cstdint>

#include "readers/andi-netcdf/AndiRunReader.h"
#include "engine/peaks/PeakDetector.h"
#include "readers/peak-detector/RunReadError.h"

using namespace corvelin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const CScanRun run = ReadAndiRunFromMemory(data, size, "fuzz.cdf");
        CPeakList list = DetectPeaks(run, CPeakDetectorSettings{});
        FilterPeaks(list, 1.0, 50);
    } catch (const CRunReadError&) {
    }
    return 0;
}
