// Fuzzes the JCAMP-DX GC/MS parser and the peak detector behind it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "readers/jcamp-gcms/JcampRunReader.h"
#include "engine/peaks/PeakDetector.h"
#include "readers/peak-detector/RunReadError.h"

using namespace corvelin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const CScanRun run = ParseJcampRun(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.jdx");
        CPeakList list = DetectPeaks(run, CPeakDetectorSettings{});
        FilterPeaks(list, 1.0, 50);
    } catch (const CRunReadError&) {
    }
    return 0;
}
