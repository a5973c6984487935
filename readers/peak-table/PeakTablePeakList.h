#pragma once
// Turns a parsed peak table into the program's peak list: one peak per row, ordered by RT, with the values the
// table lacks made by the rules in readers/README.md, the RIs of the table and the RI calibration it carries.
#include <cstddef>
#include <string>

#include "readers/peak-table/PeakTableParser.h"
#include "engine/core/LibraryChromatogram.h"

namespace corvelin {

namespace peaktable {

// Half-width of a peak whose start or end the table does not give and that has no neighbour on that side
// (minutes); with a neighbour the edge is halfway to it, but no further than this.
inline constexpr double kHalfWidth = 1.5 / 60;

// Calls run(first, last) for each run of equal neighbours in [0, n) (a sorted sequence), in order, asking
// same(k - 1, k) once for each neighbouring pair: rows sharing one RT cost no more than rows at distinct RTs.
template <class Same, class Run> void ForEachEqualRun(std::size_t n, Same same, Run run)
{
    std::size_t first = 0;
    for (std::size_t k = 1; k <= n; ++k)
        if (k == n || !same(k - 1, k)) {
            run(first, k - 1);
            first = k;
        }
}

// Fills an empty chromatogram. Rows whose area is below minAreaPercent of TotalArea are left out (TotalArea and
// TotalHeight still sum every row). dataFile becomes DataFile, its name without folder and extension SampleName.
void FillChromatogram(const PeakTable& table, double minAreaPercent, const std::string& dataFile,
                      CLibraryChromatogram& chromatogram);

} // namespace peaktable

} // namespace corvelin
