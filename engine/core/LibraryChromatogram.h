#pragma once
// The in-memory chromatogram: header texts and totals, the owned peak list and the RI calibration table
// (CLibraryChromatogramData is the stored part), plus the cached largest height and the source path.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/core/Exceptions.h"
#include "engine/core/LibraryChromatogramPeakData.h"
#include "engine/core/LibraryRICalibration.h"

namespace corvelin {

class CSearchOptions;
class CLibraryHit;
class CCellTable;

class CORVELIN_ENGINE_EXPORT CLibraryChromatogramData : public CSerializable {
public:
    std::string Comment;
    double TotalHeight = 0;
    // Equals Peaks.size() for well-formed data; loops trust it and fetch with GetPeak. A library entry stores it
    // apart from its peak records, so a damaged or hostile file can claim any value (up to 2^31 - 1) with few
    // peaks: size allocations by Peaks.size(), never by PeakCount alone.
    int PeakCount = 0;
    double TotalArea = 0;
    double ExtraValue = 0;
    std::string DataFile;
    std::string SampleName;
    std::vector<std::unique_ptr<CLibraryChromatogramPeakData>> Peaks;
    CLibraryRICalibrationData RICalibration;

    CLibraryChromatogramData() = default;
    CLibraryChromatogramData(const CLibraryChromatogramData&) = delete;
    CLibraryChromatogramData& operator=(const CLibraryChromatogramData&) = delete;
    CLibraryChromatogramData(CLibraryChromatogramData&&) noexcept = default;
    CLibraryChromatogramData& operator=(CLibraryChromatogramData&&) noexcept = default;

    const char* GetClassName() const override { return "CLibraryChromatogramData"; }
    void Serialize(CArchive& ar) override;
    // Reads the stored record up to its peak records (header texts and numbers, RI table) and returns how many
    // peak records follow (checked against the bytes left). Peaks are left alone. Throws like Serialize.
    std::size_t ReadHeader(CArchive& ar);
    // The largest-height query: the stored part computes it.
    virtual double QueryLargestHeight() const { return ComputeLargestHeight(); }

    // Peak i (0-based), or nullptr when i is out of range.
    const CLibraryChromatogramPeakData* GetPeak(int i) const noexcept
    {
        return i >= 0 && static_cast<std::size_t>(i) < Peaks.size() ? Peaks[i].get() : nullptr;
    }
    CLibraryChromatogramPeakData* GetPeak(int i) noexcept
    {
        return i >= 0 && static_cast<std::size_t>(i) < Peaks.size() ? Peaks[i].get() : nullptr;
    }
    // Appends a peak and sets PeakCount to the number of peaks (for code that fills a peak list).
    CLibraryChromatogramPeakData& AddPeak(std::unique_ptr<CLibraryChromatogramPeakData> peak);
    CLibraryChromatogramPeakData& AddPeak();

    // Deletes the peaks and RI points, empties the texts and zeroes the numbers; keeps the RI calculation
    // option (and, on a CLibraryChromatogram, SourcePath and LargestHeight).
    void Clear();
    // Largest Height of all peaks; 0 for no peaks.
    double ComputeLargestHeight() const noexcept;
};

class CORVELIN_ENGINE_EXPORT CLibraryChromatogram : public CLibraryChromatogramData {
public:
    double LargestHeight = 0; // cache; 0 = not computed
    std::string SourcePath;   // display name: the file this chromatogram came from

    CLibraryChromatogram() = default;
    // Deep copy (see CopyFrom).
    CLibraryChromatogram(const CLibraryChromatogram& other);
    CLibraryChromatogram& operator=(const CLibraryChromatogram&) = delete;
    CLibraryChromatogram(CLibraryChromatogram&&) noexcept = default;
    CLibraryChromatogram& operator=(CLibraryChromatogram&&) noexcept = default;
    ~CLibraryChromatogram() override = default;

    const char* GetClassName() const override { return "CLibraryChromatogram"; }
    // The entry's root: the stored record, then the optional tail (largest height, source path).
    void Serialize(CArchive& ar) override;
    double QueryLargestHeight() const override { return LargestHeight; }

    // Deep copy into this chromatogram, carrying exactly what storing other as an entry and loading it back would
    // (every stored field bit for bit, the RI table with its option): keeps other's SourcePath, LargestHeight
    // becomes 0, peaks are renumbered 1 ... n; a missing (null) peak of other is left out.
    void CopyFrom(const CLibraryChromatogram& other);
    // Reads a library entry file (at most 256 MB; the whole file is read, then decoded); SourcePath becomes the
    // path read. @exception CFileException (missing, unreadable, too large) or CArchiveException (short file,
    // wrong class, old version); the object is then partly filled and must not be used.
    void ReadEntry(const std::string& path);
    // The flag form of ReadEntry for callers that only need to know whether the entry was read (the library
    // search, which ignores it): false where ReadEntry throws, and also when memory runs out. Never throws.
    bool LoadEntry(const std::string& path) noexcept;
    // ReadEntry for readers that take the peaks one by one: this chromatogram gets the header and no peaks, and
    // every peak record goes to onPeak instead, as its fields in a reused peak object (spectrum empty, PeakNumber
    // set) and the bytes of its spectrum lines (CLibraryMassSpectrumData::ReadLineBytes). It accepts and refuses
    // exactly the files ReadEntry does; exceptions of onPeak pass through.
    using PeakRecordVisitor =
        std::function<void(const CLibraryChromatogramPeakData& fields, std::span<const std::uint8_t> lineBytes)>;
    void ReadEntryPeakByPeak(const std::string& path, const PeakRecordVisitor& onPeak);
    // Writes this chromatogram as a library entry file. Writes to a temporary file in the same folder and
    // renames it, so an existing entry is never left truncated. Throws CFileException.
    void SaveEntry(const std::string& path) const;
    // The entry bytes of this chromatogram (what SaveEntry writes).
    std::vector<std::uint8_t> StoreToBytes() const;
    // Reads entry bytes into this (cleared) chromatogram; path names the source in errors and becomes
    // SourcePath when fromFile is true. Throws CArchiveException.
    void LoadFromBytes(std::span<const std::uint8_t> bytes, const std::string& path, bool fromFile);

    // The cached largest height, recomputed when it is 0 or force is set.
    double GetLargestHeight(bool force = false);
    // Exchange sort by ascending RT (peak numbers are not reassigned).
    void SortPeaksByRT();
    // Replaces the RI table by a copy of table and sets every peak's RI to table.ComputeRI(RT).
    void Recalibrate(const CLibraryRICalibrationData& table);
    // Renumbers the peaks 1 ... n in list order.
    void NumberPeaks() noexcept;

    // Compares this chromatogram with other; fills hit and the cell table; returns the overall match.
    // Implemented by the comparison engine (engine/compare).
    double Compare(const CLibraryChromatogram& other, const CSearchOptions& options, CLibraryHit& hit,
                   CCellTable* cells) const;

private:
    // The optional tail after the stored record (largest height, source path).
    void ReadTail(CArchive& ar);
};

} // namespace corvelin
