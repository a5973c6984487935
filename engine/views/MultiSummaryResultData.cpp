#include "engine/views/MultiSummaryResultData.h"

#include <string>
#include <utility>

#include "engine/core/Exceptions.h"

namespace corvelin {

void CMultiSummaryResultData::Clear() noexcept
{
    m_cells.clear();
    m_references.clear();
    m_chromatograms.clear();
}

int CMultiSummaryResultData::AddChromatogram(std::unique_ptr<CLibraryChromatogram> chromatogram)
{
    if (!chromatogram)
        throw CInvalidArgumentException("CMultiSummaryResultData::AddChromatogram: no chromatogram");
    // The groups' cell rows are not touched: a row ends after its last chromatogram with a peak (see Cell).
    m_chromatograms.push_back(std::move(chromatogram));
    return ChromatogramCount() - 1;
}

void CMultiSummaryResultData::SetCell(int chromatogram, int group, Peak peak)
{
    CheckChromatogram(chromatogram);
    CheckGroup(group);
    auto& row = m_cells[static_cast<std::size_t>(group)];
    if (row.size() <= static_cast<std::size_t>(chromatogram))
        row.resize(static_cast<std::size_t>(chromatogram) + 1, nullptr);
    row[static_cast<std::size_t>(chromatogram)] = peak;
}

int CMultiSummaryResultData::NewGroup(int chromatogram, Peak peak)
{
    CheckChromatogram(chromatogram);
    if (!peak)
        throw CInvalidArgumentException("CMultiSummaryResultData::NewGroup: no reference peak");
    m_references.push_back(peak);
    m_cells.emplace_back(static_cast<std::size_t>(chromatogram) + 1, nullptr);
    m_cells.back()[static_cast<std::size_t>(chromatogram)] = peak;
    return GroupCount() - 1;
}

void CMultiSummaryResultData::SwapGroups(int i, int j)
{
    CheckGroup(i);
    CheckGroup(j);
    std::swap(m_references[static_cast<std::size_t>(i)], m_references[static_cast<std::size_t>(j)]);
    std::swap(m_cells[static_cast<std::size_t>(i)], m_cells[static_cast<std::size_t>(j)]);
}

CMultiSummaryResultData::Peak CMultiSummaryResultData::ReferencePeak(int group) const
{
    CheckGroup(group);
    return m_references[static_cast<std::size_t>(group)];
}

CMultiSummaryResultData::Peak CMultiSummaryResultData::Cell(int chromatogram, int group) const
{
    CheckChromatogram(chromatogram);
    CheckGroup(group);
    const auto& row = m_cells[static_cast<std::size_t>(group)];
    return static_cast<std::size_t>(chromatogram) < row.size() ? row[static_cast<std::size_t>(chromatogram)] : nullptr;
}

const CLibraryChromatogram& CMultiSummaryResultData::Chromatogram(int index) const
{
    CheckChromatogram(index);
    return *m_chromatograms[static_cast<std::size_t>(index)];
}

void CMultiSummaryResultData::CheckGroup(int group) const
{
    if (group < 0 || group >= GroupCount())
        throw CInvalidArgumentException("peak group index " + std::to_string(group) + " out of range (" +
                                        std::to_string(GroupCount()) + " groups)");
}

void CMultiSummaryResultData::CheckChromatogram(int chromatogram) const
{
    if (chromatogram < 0 || chromatogram >= ChromatogramCount())
        throw CInvalidArgumentException("chromatogram index " + std::to_string(chromatogram) + " out of range (" +
                                        std::to_string(ChromatogramCount()) + " chromatograms)");
}

} // namespace corvelin
