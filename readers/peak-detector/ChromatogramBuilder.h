#pragma once
// Puts a detected peak list into the program's chromatogram record, the way a reader plug-in delivers it.
#include "engine/core/LibraryChromatogram.h"
#include "engine/peaks/PeakDetector.h"
#include "engine/peaks/ScanRun.h"

namespace corvelin {

// Fills target (expected empty): header texts from run, TotalArea/TotalHeight from list, one peak per detected
// peak in list order with PeakNumber 1...n, RI -1 (no calibration yet) and the apex spectrum with intensities
// in percent and weighted intensities by ApplyWeighting.
void FillChromatogram(const CScanRun& run, const CPeakList& list, CLibraryChromatogram& target);

} // namespace corvelin
