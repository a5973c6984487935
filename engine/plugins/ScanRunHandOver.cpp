#include "engine/plugins/ScanRunHandOver.h"

#include <memory>

#include "engine/plugins/PluginInterface.h"

namespace corvelin {

namespace {

// The C view and the arrays it points into, freed together.
struct CHandedScanRun {
    CorvelinScanRunData Data{};
    CScanRun Run;
    std::vector<double> Tic;
};

} // namespace

CorvelinScanRunData* HandOverScanRun(CScanRun run, std::vector<double> totalIonCurrent)
{
    auto handed = std::make_unique<CHandedScanRun>();
    handed->Run = std::move(run);
    handed->Tic = std::move(totalIonCurrent);
    handed->Tic.resize(handed->Run.ScanCount(), 0.0);
    CorvelinScanRunData& data = handed->Data;
    data.ScanCount = handed->Run.ScanCount();
    data.LineCount = handed->Run.LineCount();
    data.Times = handed->Run.Times().data();
    data.TotalIonCurrent = handed->Tic.data();
    data.ScanOffsets = handed->Run.Offsets().data();
    data.Masses = handed->Run.Masses().data();
    data.Intensities = handed->Run.Intensities().data();
    data.ModuleData = handed.get();
    return &handed.release()->Data;
}

void ReleaseHandedScanRun(CorvelinScanRunData* data) noexcept
{
    if (data)
        delete static_cast<CHandedScanRun*>(data->ModuleData);
}

} // namespace corvelin
