// Fuzz target for the AMDIS texts: the ELU parser with the peak-list conversion, and the MSL parser.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "readers/amdis-elu/EluParser.h"
#include "readers/amdis-elu/EluPeakList.h"
#include "readers/amdis-elu/MslParser.h"

using namespace corvelin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    amdis::LooksLikeElu(text);
    amdis::LooksLikeMsl(text);
    try {
        const amdis::EluFile file = amdis::ParseElu(text);
        for (const bool keepFlagged : {false, true}) {
            CLibraryChromatogram chromatogram;
            amdis::EluReadOptions options;
            options.keepFlaggedLines = keepFlagged;
            options.minAreaPercent = keepFlagged ? 0.5 : 0;
            amdis::FillChromatogram(file, options, "fuzz.elu", chromatogram);
        }
    } catch (const amdis::FormatError&) {
    }
    const amdis::MslFile library = amdis::ParseMsl(text);
    for (const amdis::MslEntry& entry : library.entries) {
        CLibraryMassSpectrumData spectrum;
        amdis::BuildSpectrum(entry.pairs, true, spectrum);
    }
    return 0;
}
