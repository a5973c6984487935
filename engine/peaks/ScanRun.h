#pragma once
// A centroided GC-MS run as the raw-data readers deliver it: one acquisition time per scan (minutes) and each
// scan's lines (mass, intensity) in flat arrays, plus the header texts that go into the chromatogram.
#include <cstddef>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CORVELIN_ENGINE_EXPORT CScanRun {
public:
    std::string SampleName;
    std::string Comment;
    std::string DataFile;

    CScanRun() = default;

    // Starts a new scan acquired at timeMinutes; the lines added next belong to it.
    void AddScan(double timeMinutes);
    // Adds one line to the last scan (a scan must have been started).
    void AddLine(double mass, double intensity);
    // Drops the last scan and its lines (a reader that finds a scan unusable after starting it).
    void DropLastScan();
    void Reserve(std::size_t scans, std::size_t lines);

    std::size_t ScanCount() const noexcept { return m_times.size(); }
    std::size_t LineCount() const noexcept { return m_masses.size(); }
    double Time(std::size_t scan) const noexcept { return m_times[scan]; }
    // Lines of scan s are [ScanBegin(s), ScanEnd(s)).
    std::size_t ScanBegin(std::size_t scan) const noexcept { return m_offsets[scan]; }
    std::size_t ScanEnd(std::size_t scan) const noexcept { return m_offsets[scan + 1]; }
    double Mass(std::size_t line) const noexcept { return m_masses[line]; }
    double Intensity(std::size_t line) const noexcept { return m_intensities[line]; }
    const std::vector<double>& Times() const noexcept { return m_times; }
    // The flat arrays: ScanCount() + 1 offsets from 0 to LineCount(), and the lines' masses and intensities.
    const std::vector<std::size_t>& Offsets() const noexcept { return m_offsets; }
    const std::vector<double>& Masses() const noexcept { return m_masses; }
    const std::vector<double>& Intensities() const noexcept { return m_intensities; }

    // Sorts the scans by acquisition time (stable: scans with equal times keep their order). Readers call it
    // for files whose scans are not stored in time order.
    void SortScansByTime();
    // True when the acquisition times never decrease.
    bool IsTimeOrdered() const noexcept;

private:
    std::vector<double> m_times;
    std::vector<std::size_t> m_offsets{0};
    std::vector<double> m_masses;
    std::vector<double> m_intensities;
};

} // namespace corvelin
