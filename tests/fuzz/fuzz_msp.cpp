// Fuzz target for the MSP spectra parser: any input must parse or fail with MspParseError, never crash, and a
// parsed spectrum must hold masses in ascending order with intensities within 0 ... 100.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "readers/msp/MspParser.h"

using namespace corvelin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    LooksLikeMsp(text);
    try {
        for (const MspSpectrum& s : ParseMsp(text)) {
            const auto& points = s.Spectrum.Points();
            for (std::size_t i = 0; i < points.size(); ++i) {
                if (points[i].Intensity < 0 || points[i].Intensity > 100 || points[i].Mass < 1)
                    std::abort();
                if (i > 0 && points[i].Mass < points[i - 1].Mass)
                    std::abort();
            }
        }
    } catch (const MspParseError&) {
    }
    return 0;
}
