#pragma once
// MS matches of many spectrum pairs at one intensity threshold, as in one comparison of two chromatograms: every
// spectrum is prepared once (CPreparedSpectra), and spectra whose masses are ascending integers are matched
// through a dense mass table of side A instead of the merge. Side A and side B may come from the matcher's own
// spectra or from sets prepared beforehand with the same threshold.
//
// The result is exactly MSMatch's. With strictly ascending integer masses on both sides the merge pairs exactly
// the lines of equal mass whose intensities are both >= the threshold, in ascending mass order; the dense table
// sums the same products in the same order, plus products with 0 for masses that have no partner, which leave
// a sum of finite terms unchanged. Spectra that do not qualify (fractional, unordered, huge or non-finite
// values) go through MSMatch itself.
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/compare/PreparedSpectra.h"

namespace corvelin {

class CORVELIN_ENGINE_EXPORT CSpectrumMatcher {
public:
    explicit CSpectrumMatcher(double threshold = 0) : m_own(threshold) {}

    // Forgets every spectrum of its own and sets a new threshold; keeps the allocated memory.
    void Reset(double threshold);

    // Registers a spectrum of its own (kept by reference; it must outlive the matcher) and returns its handle.
    int Add(const CLibraryMassSpectrumData& spectrum) { return m_own.Add(spectrum); }
    // The matcher's own spectra.
    const CPreparedSpectra& Own() const noexcept { return m_own; }

    // Makes a spectrum of its own (handle -1: none) or of a prepared set the side A of the following Match calls.
    // The set must have the matcher's threshold and stay alive while it is side A.
    void SetSideA(int handle) { SetSideA(m_own, handle); }
    void SetSideA(const CPreparedSpectra& set, int handle);
    // MSMatch(side A, spectrum of handle, threshold), the handle naming a spectrum of its own or of set.
    double Match(int handle) const { return Match(m_own, handle); }
    double Match(const CPreparedSpectra& set, int handle) const;

    // MSMatch(spectrum a of setA, spectrum b of setB, threshold) through a's table (setA.HasTables()); both sets
    // prepared with the same threshold.
    static double MatchByTable(const CPreparedSpectra& setA, int a, const CPreparedSpectra& setB, int b);
    // MatchByTable of up to four pairs (a[k], b[k]) at once into match[k]: the sums of nominal pairs are taken
    // side by side, each in its own order, so that one does not wait for the other.
    static void MatchByTable(const CPreparedSpectra& setA, const int* a, const CPreparedSpectra& setB, const int* b,
                             int pairs, double* match);

private:
    void ClearSideA();

    CPreparedSpectra m_own;
    std::vector<double> m_dense; // side A's weights by mass, 0 elsewhere (only while side A is nominal)
    const CPreparedSpectra* m_sideASet = nullptr;
    int m_sideA = -1;
};

} // namespace corvelin
