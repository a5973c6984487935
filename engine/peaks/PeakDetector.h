#pragma once
// The peak detector shared by the raw-data readers: turns a centroided run into a peak list with apex
// spectra. The algorithm and the meaning of every number are documented in readers/README.md.
#include <cstddef>
#include <utility>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/peaks/PeakDetectorSettings.h"
#include "engine/peaks/ScanRun.h"

namespace corvelin {

struct CORVELIN_ENGINE_EXPORT CDetectedPeak {
    std::size_t ApexScan = 0;
    std::size_t StartScan = 0;
    std::size_t EndScan = 0;
    double RT = 0;      // apex, minutes
    double StartRT = 0; // minutes
    double EndRT = 0;   // minutes
    double Area = 0;    // total-ion counts x seconds above the peak's baseline
    double Height = 0;  // total-ion counts above the peak's baseline at the apex
    // Background-subtracted apex spectrum: (nominal mass, percent of the largest line), masses ascending.
    std::vector<std::pair<int, double>> Spectrum;
};

struct CORVELIN_ENGINE_EXPORT CPeakList {
    std::vector<CDetectedPeak> Peaks; // in retention-time order
    // Sums of Area and Height over every peak found, before the minimum-area filter and MaxPeaks, so that
    // Area % and Height % are shares of everything the detector integrated.
    double TotalArea = 0;
    double TotalHeight = 0;
    double Noise = 0; // noise of the total-ion chromatogram (counts), as estimated
};

// Finds the peaks of run. Never throws on odd data: a run without scans or signal gives an empty list.
CORVELIN_ENGINE_EXPORT CPeakList DetectPeaks(const CScanRun& run, const CPeakDetectorSettings& settings);

// Removes the peaks whose area is below minAreaPercent of TotalArea (0 = keep all); then, when maxPeaks > 0,
// keeps only the maxPeaks largest by area. Totals are left as they are; the order stays by retention time.
CORVELIN_ENGINE_EXPORT void FilterPeaks(CPeakList& list, double minAreaPercent, int maxPeaks);

// The peaks a read of run delivers: DetectPeaks, then FilterPeaks with minAreaPercent and settings.MaxPeaks. The
// reader modules and the program's run view both call it, so the marks shown are the peaks a conversion writes.
CORVELIN_ENGINE_EXPORT CPeakList DetectRunPeaks(const CScanRun& run, const CPeakDetectorSettings& settings,
                                                double minAreaPercent);

} // namespace corvelin
