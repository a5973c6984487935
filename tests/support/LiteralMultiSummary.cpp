#include "tests/support/LiteralMultiSummary.h"

#include "engine/compare/MatchFactors.h"
#include "engine/options/SearchOptions.h"

namespace corvelin::literal {

void GroupMultiSummary(std::vector<std::unique_ptr<CLibraryChromatogram>> chromatograms, const CSearchOptions& options,
                       CMultiSummaryResultData& result)
{
    result.Clear();
    const int groupThreshold = 900;
    for (auto& owned : chromatograms) {
        const int c = result.AddChromatogram(std::move(owned));
        const CLibraryChromatogram& chrom = result.Chromatogram(c);
        for (int i = 0; i < chrom.PeakCount; ++i) {
            const CLibraryChromatogramPeakData* p = chrom.GetPeak(i);
            if (!p)
                continue;
            if (!options.IsInTimeRange(p->RT))
                continue;
            if (options.AreaThresholdOn && p->Area * 100 / chrom.TotalArea < options.AreaThreshold)
                continue;
            if (options.IsPeakExcluded(&p->Spectrum))
                continue;
            bool placed = false;
            for (int g = 0; g < result.GroupCount(); ++g) {
                const CLibraryChromatogramPeakData* r = result.ReferencePeak(g);
                double v = 1;
                if (options.RTMatching)
                    v = RTMatch(r->RT, p->RT, options);
                if (options.RIMatching)
                    v = v * RIMatch(*r, *p, options);
                if (v >= 0.0005 && options.MSMatching) {
                    const double threshold = options.MassThresholdOn ? options.MassThreshold : 0.0;
                    CLibraryMassSpectrum side(p->Spectrum); // a fresh copy, as a straightforward caller would
                    v = v * side.MSMatch(r->Spectrum, threshold);
                }
                if (v >= 0.0005 && options.AreaMatching)
                    v = v * AreaMatch(*r, *p, options, 1, 1, 1, 1);
                if (v >= 0.0005 && options.HeightMatching)
                    v = v * HeightMatch(*r, *p, options, 1, 1);
                if (v * 1000 >= groupThreshold) {
                    result.SetCell(c, g, p);
                    placed = true;
                    break;
                }
            }
            if (!placed)
                result.NewGroup(c, p);
        }
    }
    // Bidirectional bubble sort by the reference peaks' RT.
    int low = 0;
    int high = result.GroupCount() - 1;
    bool swapped = true;
    while (swapped && low < high) {
        swapped = false;
        for (int i = low; i < high; ++i) {
            if (result.ReferencePeak(i + 1)->RT < result.ReferencePeak(i)->RT) {
                result.SwapGroups(i, i + 1);
                swapped = true;
            }
        }
        --high;
        for (int i = high; i > low; --i) {
            if (result.ReferencePeak(i)->RT < result.ReferencePeak(i - 1)->RT) {
                result.SwapGroups(i, i - 1);
                swapped = true;
            }
        }
        ++low;
    }
}

} // namespace corvelin::literal
