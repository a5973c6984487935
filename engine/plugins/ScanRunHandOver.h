#pragma once
// The module side of the optional scan-run export: packing a run into the C view the program reads
// (CorvelinScanRunData) and releasing it again. A module calls HandOverScanRun in its ReadScanRun and
// ReleaseHandedScanRun in its FreeScanRun, so what it allocated is freed by the same module's export.
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/peaks/ScanRun.h"

namespace corvelin {

struct CorvelinScanRunData;

// Moves run and its total-ion current (one value per scan) into a new hand-over block; never null.
// @exception std::bad_alloc when memory runs out (nothing is leaked)
CORVELIN_ENGINE_EXPORT CorvelinScanRunData* HandOverScanRun(CScanRun run, std::vector<double> totalIonCurrent);
// Frees a block HandOverScanRun made (null is allowed).
CORVELIN_ENGINE_EXPORT void ReleaseHandedScanRun(CorvelinScanRunData* data) noexcept;

} // namespace corvelin
