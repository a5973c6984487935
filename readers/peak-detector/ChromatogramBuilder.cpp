#include "readers/peak-detector/ChromatogramBuilder.h"

#include <memory>

namespace corvelin {

void FillChromatogram(const CScanRun& run, const CPeakList& list, CLibraryChromatogram& target)
{
    target.SampleName = run.SampleName;
    target.Comment = run.Comment;
    target.DataFile = run.DataFile;
    target.TotalArea = list.TotalArea;
    target.TotalHeight = list.TotalHeight;
    int number = 0;
    for (const CDetectedPeak& detected : list.Peaks) {
        auto peak = std::make_unique<CLibraryChromatogramPeakData>();
        peak->Area = detected.Area;
        peak->Height = detected.Height;
        peak->RT = detected.RT;
        peak->StartRT = detected.StartRT;
        peak->EndRT = detected.EndRT;
        peak->RI = -1;
        peak->PeakNumber = ++number;
        for (const auto& [mass, percent] : detected.Spectrum)
            peak->Spectrum.Append(CLibraryMassSpectrumPoint(mass, percent));
        peak->Spectrum.ApplyWeighting();
        target.AddPeak(std::move(peak));
    }
    target.PeakCount = static_cast<int>(target.Peaks.size());
}

} // namespace corvelin
