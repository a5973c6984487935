// Fuzz target for peak tables: header search, the table parser with the peak-list conversion (RI calibration
// included), and the spectrum text on its own.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "readers/peak-table/PeakTableParser.h"
#include "readers/peak-table/PeakTablePeakList.h"
#include "readers/peak-table/SpectrumText.h"
#include "readers/peak-table/TableText.h"

using namespace corvelin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    peaktable::LabColumns lab;
    lab.names[static_cast<std::size_t>(peaktable::ColumnRole::RT)] = {"Zeit"};
    try {
        const peaktable::PeakTable table = peaktable::ParsePeakTable(text, lab);
        for (const double minArea : {0.0, 1.0}) {
            CLibraryChromatogram chromatogram;
            peaktable::FillChromatogram(table, minArea, "fuzz.txt", chromatogram);
        }
    } catch (const peaktable::TableError&) {
    }
    std::vector<peaktable::SpectrumLine> lines;
    for (const bool decimalComma : {false, true}) {
        if (peaktable::ParseSpectrumText(text.substr(0, 4096), decimalComma, lines)) {
            CLibraryMassSpectrumData spectrum;
            peaktable::BuildSpectrum(lines, spectrum);
        }
    }
    return 0;
}
