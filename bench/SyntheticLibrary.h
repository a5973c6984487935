#pragma once
// Synthetic GC-MS libraries for benchmarks, the bundled sample and end-to-end tests: a pool of compounds with
// electron-ionisation-like spectra (a base peak, alkyl and aromatic series, losses from the molecular ion,
// isotope peaks) and retention times, chromatograms drawn from that pool, and replicates of chromatograms
// with small RT and area noise. Deterministic for a seed.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace corvelin {

class CLibraryChromatogram;
class CLibraryMassSpectrumData;

struct CSyntheticLibraryShape {
    int Entries = 1000;
    int Peaks = 200;              // peaks per chromatogram
    int Lines = 60;               // lines per spectrum
    int Compounds = 0;            // pool size; 0 = 3 x Peaks
    double ReplicateShare = 0.25; // share of entries that are replicates of an earlier entry
    double RTNoise = 0.01;        // minutes, replicates
    double AreaNoise = 0.05;      // relative, replicates
    int Subfolders = 0;           // entries spread over this many subfolders "sub1" ... besides the folder itself
    std::uint64_t Seed = 1;
};

class CSyntheticLibrary {
public:
    explicit CSyntheticLibrary(const CSyntheticLibraryShape& shape);
    ~CSyntheticLibrary();

    // Chromatogram i (0-based) of the library: either drawn from the pool or a noisy replicate of an earlier one.
    std::unique_ptr<CLibraryChromatogram> MakeEntry(int i) const;
    // A noisy replicate of chromatogram i with its own seed (an "unknown" that should find entry i first).
    std::unique_ptr<CLibraryChromatogram> MakeReplicate(int i, std::uint64_t seed) const;
    // Which earlier entry entry i replicates, or -1.
    int ReplicateOf(int i) const { return m_replicateOf.at(static_cast<std::size_t>(i)); }

    // Writes every entry as "<folder>/[subN/]entry%04i.ChromLibEntry"; returns the paths in entry order.
    std::vector<std::string> WriteLibrary(const std::string& folder) const;

    const CSyntheticLibraryShape& Shape() const noexcept { return m_shape; }

private:
    struct Compound;
    std::unique_ptr<CLibraryChromatogram> Draw(int i) const;
    std::unique_ptr<CLibraryChromatogram> Replicate(const CLibraryChromatogram& source, std::uint64_t seed) const;

    CSyntheticLibraryShape m_shape;
    std::vector<Compound> m_pool;
    std::vector<int> m_replicateOf;
};

// An EI-like spectrum of `lines` lines for a molecular mass (ascending masses, intensities in percent of the
// base peak, weights applied).
void MakeEISpectrum(CLibraryMassSpectrumData& spectrum, int molecularMass, int lines, std::uint64_t seed);

} // namespace corvelin
