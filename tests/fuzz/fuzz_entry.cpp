// libFuzzer target for the library entry reader: any byte string must either load or end in a clean archive
// error, without a crash, a sanitizer report or an allocation beyond what the input justifies.
#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/core/LibraryChromatogram.h"

using namespace corvelin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CLibraryChromatogram c;
    try {
        c.LoadFromBytes(std::span<const std::uint8_t>(data, size), "fuzz.ChromLibEntry", true);
    } catch (const CArchiveException&) {
        return 0;
    }
    // What loaded must write and read back to the same bytes.
    const auto bytes = c.StoreToBytes();
    CLibraryChromatogram again;
    again.LoadFromBytes(bytes, "fuzz.ChromLibEntry", true);
    if (again.StoreToBytes() != bytes)
        __builtin_trap();
    (void)c.GetLargestHeight();
    c.SortPeaksByRT();
    return 0;
}
