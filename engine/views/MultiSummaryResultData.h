#pragma once
// The result record of a multi-file peak summary: the chromatograms read in the last run (owned, in file order)
// and the peak groups. A group has a reference peak (the peak that founded it, which gives the group's RT) and
// one cell per chromatogram holding that chromatogram's peak in the group, or none. Peaks are never copied,
// only referenced: they belong to the chromatograms of the record.
#include <memory>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/core/LibraryChromatogram.h"

namespace corvelin {

class CORVELIN_ENGINE_EXPORT CMultiSummaryResultData {
public:
    using Peak = const CLibraryChromatogramPeakData*;

    CMultiSummaryResultData() = default;
    CMultiSummaryResultData(const CMultiSummaryResultData&) = delete;
    CMultiSummaryResultData& operator=(const CMultiSummaryResultData&) = delete;
    CMultiSummaryResultData(CMultiSummaryResultData&&) noexcept = default;
    CMultiSummaryResultData& operator=(CMultiSummaryResultData&&) noexcept = default;

    // Deletes every group and every chromatogram.
    void Clear() noexcept;
    // Appends the chromatogram (taking ownership) and an empty cell to every existing group; returns its index.
    // @exception CInvalidArgumentException for a null chromatogram
    int AddChromatogram(std::unique_ptr<CLibraryChromatogram> chromatogram);
    // Stores peak (nullptr = none) in the cell, replacing what was there.
    // @exception CInvalidArgumentException when either index is out of range
    void SetCell(int chromatogram, int group, Peak peak);
    // Appends a group founded by peak and puts the peak into the cell of its chromatogram; returns the group's
    // index.
    // @exception CInvalidArgumentException for a chromatogram index out of range or a null peak
    int NewGroup(int chromatogram, Peak peak);
    // Exchanges the cells and the reference peaks of groups i and j.
    // @exception CInvalidArgumentException when either index is out of range
    void SwapGroups(int i, int j);

    // Accessors. @exception CInvalidArgumentException for an index out of range
    Peak ReferencePeak(int group) const;
    Peak Cell(int chromatogram, int group) const;
    const CLibraryChromatogram& Chromatogram(int index) const;
    int GroupCount() const noexcept { return static_cast<int>(m_references.size()); }
    int ChromatogramCount() const noexcept { return static_cast<int>(m_chromatograms.size()); }

private:
    void CheckGroup(int group) const;
    void CheckChromatogram(int chromatogram) const;

    std::vector<Peak> m_references;
    std::vector<std::unique_ptr<CLibraryChromatogram>> m_chromatograms;
    std::vector<std::vector<Peak>> m_cells; // per group, up to its last chromatogram with a peak (the rest empty)
};

} // namespace corvelin
