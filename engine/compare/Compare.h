#pragma once
#include "engine/core/EngineExport.h"

namespace corvelin {
// The comparison of one chromatogram ("this") with another ("other"): for every peak of "this" that takes part
// the best pair value among the peaks of "other" that take part; optionally a table of all pair values resolved
// into a peak assignment and weighted; the overall match 0 ... 1 and the hit's factor averages and counts.
// CLibraryChromatogram::Compare is this function with the default tuning.
class CLibraryChromatogramData;
class CSearchOptions;
class CLibraryHit;
class CCellTable;
class CPreparedSpectra;

// Switches that change how fast the comparison runs, never its results.
struct CORVELIN_ENGINE_EXPORT CCompareTuning {
    // Evaluate only the pairs inside the retention window (RT when RT matching is on, else RI when RI matching
    // is on): every other pair has a retention factor of exactly 0 and therefore pair value 0.
    bool PruneByRetention = true;
    // The peaks' spectra prepared beforehand (CPreparedSpectra::PreparePeaks of "this" and of "other"), so that a
    // chromatogram compared many times is prepared once. A set is used only when its threshold is the options'
    // mass threshold and it holds exactly the present peaks' spectra; otherwise the spectra are prepared here.
    const CPreparedSpectra* ThisSpectra = nullptr;
    const CPreparedSpectra* OtherSpectra = nullptr;
    // The caller needs the result and the hit only, and passes the table as scratch memory: its block is left
    // undefined. Unweighted comparisons then resolve the peak assignment from the positive pair values alone
    // (every other cell of a resolved unweighted table adds 0 and counts no match) instead of the whole table.
    bool TableIsScratch = false;
};

// hit and cells may be null (not filled / no table). With a table, the top-left block of PeakCount("this") rows
// and PeakCount("other") columns is overwritten: rows of peaks that take part get their pair values, the other
// rows -2, and the block is then resolved and weighted; cells outside the block are left alone.
// Throws CInvalidArgumentException when the table is smaller than that block.
CORVELIN_ENGINE_EXPORT double CompareChromatograms(const CLibraryChromatogramData& self,
                                                   const CLibraryChromatogramData& other, const CSearchOptions& options,
                                                   CLibraryHit* hit, CCellTable* cells,
                                                   const CCompareTuning& tuning = {});

} // namespace corvelin
