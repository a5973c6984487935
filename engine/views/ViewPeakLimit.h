#pragma once
// The bound of the two views that compare every peak of one chromatogram with every peak of another (match
// matrix, peak match table): their cell table holds a value per pair, so 5000 x 5000 peaks take 200 MB, and a
// file with more peaks is refused instead of exhausting the memory.
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CLibraryChromatogram;

inline constexpr int kMaxViewPeaks = 5000;

// True when the chromatogram read from path holds at most kMaxViewPeaks peaks; else shows "The file <path> has
// <n> peaks; the match matrix and the peak match table compare at most 5000 peaks per file." and returns false.
CORVELIN_ENGINE_EXPORT bool WithinViewPeakLimit(const std::string& path, const CLibraryChromatogram& chromatogram);

} // namespace corvelin
