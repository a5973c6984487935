#pragma once
// Synthetic chromatograms for tests and benchmarks: peaks spread over a retention window with random sizes and
// random mass spectra (ascending integer masses, weighted intensities filled), and noisy variants of them.
#include <cstdint>
#include <memory>

namespace corvelin {

class CLibraryChromatogram;

struct CSyntheticShape {
    int Peaks = 200;
    int Lines = 150;        // lines per spectrum (at most the number of masses 30 ... 529)
    double FirstRT = 2.0;   // minutes
    double LastRT = 42.0;   // minutes
    bool Calibrated = true; // RI values from a linear scale; otherwise every RI is -1
};

std::unique_ptr<CLibraryChromatogram> MakeSyntheticChromatogram(const CSyntheticShape& shape, std::uint64_t seed);

// A copy of source with every RT and RI shifted by a random amount up to the given jitter, sizes scaled by up
// to +-30 % and spectrum intensities disturbed by up to +-noise percent (weights recomputed).
std::unique_ptr<CLibraryChromatogram> MakeSyntheticVariant(const CLibraryChromatogram& source, std::uint64_t seed,
                                                           double rtJitter, double noise);

} // namespace corvelin
