#include "engine/peaks/ScanRun.h"
#include "engine/core/Exceptions.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace corvelin {

void CScanRun::AddScan(double timeMinutes)
{
    m_times.push_back(timeMinutes);
    m_offsets.push_back(m_masses.size());
}

void CScanRun::AddLine(double mass, double intensity)
{
    if (m_times.empty())
        throw CInvalidArgumentException("CScanRun::AddLine before AddScan");
    m_masses.push_back(mass);
    m_intensities.push_back(intensity);
    m_offsets.back() = m_masses.size();
}

void CScanRun::DropLastScan()
{
    if (m_times.empty())
        return;
    m_times.pop_back();
    m_offsets.pop_back();
    m_masses.resize(m_offsets.back());
    m_intensities.resize(m_offsets.back());
}

void CScanRun::Reserve(std::size_t scans, std::size_t lines)
{
    m_times.reserve(scans);
    m_offsets.reserve(scans + 1);
    m_masses.reserve(lines);
    m_intensities.reserve(lines);
}

bool CScanRun::IsTimeOrdered() const noexcept
{
    return std::is_sorted(m_times.begin(), m_times.end());
}

void CScanRun::SortScansByTime()
{
    if (IsTimeOrdered())
        return;
    std::vector<std::size_t> order(m_times.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [this](std::size_t a, std::size_t b) { return m_times[a] < m_times[b]; });
    CScanRun sorted;
    sorted.Reserve(m_times.size(), m_masses.size());
    for (std::size_t s : order) {
        sorted.AddScan(m_times[s]);
        for (std::size_t k = ScanBegin(s); k < ScanEnd(s); ++k)
            sorted.AddLine(m_masses[k], m_intensities[k]);
    }
    m_times.swap(sorted.m_times);
    m_offsets.swap(sorted.m_offsets);
    m_masses.swap(sorted.m_masses);
    m_intensities.swap(sorted.m_intensities);
}

} // namespace corvelin
