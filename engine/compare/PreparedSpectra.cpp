#include "engine/compare/PreparedSpectra.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#endif

#include "engine/core/LibraryChromatogram.h"

namespace corvelin {

void CPreparedSpectra::Reset(double threshold)
{
    m_threshold = threshold;
    m_entries.clear();
    m_lineCount = 0;
    m_deferredFrom = 0;
    m_tableStart.clear();
}

namespace {

// sum plus the squared weighted intensities of lines k ... n - 1 at or above the threshold, in their order (a term
// of +0 for a line below it leaves a sum of squares unchanged).
double AddEligibleSquares(double sum, const std::uint8_t* lines, std::size_t k, std::size_t n,
                          std::size_t intensityOffset, double threshold) noexcept
{
    for (; k < n; ++k) {
        const std::uint8_t* line = lines + k * CLibraryMassSpectrumData::LineBytes;
        double intensity, w;
        std::memcpy(&intensity, line + intensityOffset, 8);
        std::memcpy(&w, line + 24, 8);
        sum += intensity >= threshold ? w * w : 0.0;
    }
    return sum;
}

} // namespace

std::size_t CPreparedSpectra::Reserve(std::size_t n)
{
    // The arrays only grow (their contents beyond m_lineCount are left as they are, not cleared for each use).
    const std::size_t needed = m_lineCount + n;
    if (m_masses.size() < needed) {
        m_masses.resize(std::max(needed, 2 * m_masses.size()));
        m_weights.resize(m_masses.size());
    }
    return m_lineCount;
}

bool CPreparedSpectra::Append(const std::uint8_t* lines, std::size_t n, std::size_t intensityOffset,
                              const CLibraryMassSpectrumData* spectrum)
{
    const std::size_t first = Reserve(n);
    std::uint16_t* masses = m_masses.data() + first;
    double* weights = m_weights.data() + first;

    // Every line of a nominal spectrum is written; only the lines at or above the threshold advance the count.
    // The sum of squares takes the same lines in the same order as CLibraryMassSpectrumData::SumOfSquares (a
    // term of +0 for a line below the threshold leaves a sum of squares unchanged).
    const double threshold = m_threshold;
    bool nominal = true;
    std::size_t count = 0;
    double previous = -1;
    double sumOfSquares = 0;
    std::size_t k = 0;
    for (; k < n; ++k) {
        const std::uint8_t* line = lines + k * CLibraryMassSpectrumData::LineBytes;
        double m, intensity, w;
        std::memcpy(&m, line, 8);
        std::memcpy(&intensity, line + intensityOffset, 8);
        std::memcpy(&w, line + 24, 8);
        const bool eligible = intensity >= threshold;
        sumOfSquares += eligible ? w * w : 0.0;
        // After the range test the conversion to int is exact for integers and truncates anything else.
        if (!(m > previous && m <= LargestNominalMass) || m != static_cast<double>(static_cast<int>(m)) ||
            (eligible && !std::isfinite(w))) {
            nominal = false;
            ++k;
            break;
        }
        previous = m;
        masses[count] = static_cast<std::uint16_t>(m);
        weights[count] = w;
        count += eligible ? 1 : 0;
    }
    sumOfSquares = AddEligibleSquares(sumOfSquares, lines, k, n, intensityOffset, threshold);
    if (!nominal)
        count = 0;
    m_lineCount = first + count;
    m_entries.push_back(
        {spectrum, sumOfSquares, nominal, static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(count), n});
    return nominal;
}

namespace {

// The running state of the decode of one spectrum's stored lines into the nominal arrays.
struct NominalLines {
    double Threshold;
    std::uint16_t* Masses;
    double* Weights;
    std::size_t Count = 0;
    double Previous = -1;

    // One stored line; false when it makes the spectrum not nominal. Every line is written; only the lines at
    // or above the threshold advance the count. After the range test the conversion to int is exact for
    // integers and truncates anything else. The tests are combined without branches: whether a line is
    // eligible follows no pattern.
    bool Take(const std::uint8_t* line) noexcept
    {
        double m, intensity, w;
        std::memcpy(&m, line, 8);
        std::memcpy(&intensity, line + 8, 8); // a stored line: mass, intensity, extra, weighted intensity
        std::memcpy(&w, line + 24, 8);
        const bool eligible = intensity >= Threshold;
        const bool inRange = m > Previous && m <= CPreparedSpectra::LargestNominalMass;
        const double mass = inRange ? m : 0.0;
        const bool finite = std::fabs(w) <= std::numeric_limits<double>::max();
        if (!(inRange & (mass == static_cast<double>(static_cast<int>(mass))) & (finite | !eligible)))
            return false;
        Previous = m;
        Masses[Count] = static_cast<std::uint16_t>(m);
        Weights[Count] = w;
        Count += eligible ? 1 : 0;
        return true;
    }
};

bool TakeLines(NominalLines& state, const std::uint8_t* lines, std::size_t n) noexcept
{
    for (std::size_t k = 0; k < n; ++k)
        if (!state.Take(lines + k * CLibraryMassSpectrumData::LineBytes))
            return false;
    return true;
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// Four lines at a time: a block whose four lines are all eligible and nominal is stored at once, any other
// block goes line by line. The tests are those of NominalLines::Take, lane by lane (ordered comparisons are
// false for a NaN, as the scalar ones are).
__attribute__((target("avx2"))) bool TakeLinesAvx2(NominalLines& state, const std::uint8_t* lines,
                                                   std::size_t n) noexcept
{
    const __m256d largestMass = _mm256_set1_pd(CPreparedSpectra::LargestNominalMass);
    const __m256d threshold = _mm256_set1_pd(state.Threshold);
    const __m256d largest = _mm256_set1_pd(std::numeric_limits<double>::max());
    const __m256d magnitude = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7FFFFFFFFFFFFFFF));
    constexpr std::size_t kLine = CLibraryMassSpectrumData::LineBytes;
    // The count and the masses before the block are kept in registers (the stores of weights could otherwise
    // alias them): lane 3 of before is the last mass taken.
    std::size_t count = state.Count;
    __m256d before = _mm256_set1_pd(state.Previous);
    std::size_t k = 0;
    for (; k + 4 <= n; k += 4) {
        const std::uint8_t* block = lines + k * kLine;
        // Each line is mass, intensity, extra, weighted intensity; transposed into one vector per field.
        const __m256d l0 = _mm256_loadu_pd(reinterpret_cast<const double*>(block));
        const __m256d l1 = _mm256_loadu_pd(reinterpret_cast<const double*>(block + kLine));
        const __m256d l2 = _mm256_loadu_pd(reinterpret_cast<const double*>(block + 2 * kLine));
        const __m256d l3 = _mm256_loadu_pd(reinterpret_cast<const double*>(block + 3 * kLine));
        const __m256d lo01 = _mm256_unpacklo_pd(l0, l1); // m0 m1 e0 e1
        const __m256d hi01 = _mm256_unpackhi_pd(l0, l1); // i0 i1 w0 w1
        const __m256d lo23 = _mm256_unpacklo_pd(l2, l3);
        const __m256d hi23 = _mm256_unpackhi_pd(l2, l3);
        const __m256d m = _mm256_permute2f128_pd(lo01, lo23, 0x20);
        const __m256d intensity = _mm256_permute2f128_pd(hi01, hi23, 0x20);
        const __m256d w = _mm256_permute2f128_pd(hi01, hi23, 0x31);
        // Each line's predecessor: the last mass before the block, then the block's first three.
        const __m256d previous = _mm256_shuffle_pd(_mm256_permute2f128_pd(before, m, 0x21), m, 0x5);
        const __m128i whole = _mm256_cvttpd_epi32(m);
        __m256d good = _mm256_and_pd(_mm256_cmp_pd(m, previous, _CMP_GT_OQ), _mm256_cmp_pd(m, largestMass, _CMP_LE_OQ));
        good = _mm256_and_pd(good, _mm256_cmp_pd(_mm256_cvtepi32_pd(whole), m, _CMP_EQ_OQ));
        good = _mm256_and_pd(good, _mm256_cmp_pd(intensity, threshold, _CMP_GE_OQ));
        good = _mm256_and_pd(good, _mm256_cmp_pd(_mm256_and_pd(w, magnitude), largest, _CMP_LE_OQ));
        if (_mm256_movemask_pd(good) == 0xF) {
            _mm_storel_epi64(reinterpret_cast<__m128i*>(state.Masses + count), _mm_packus_epi32(whole, whole));
            _mm256_storeu_pd(state.Weights + count, w);
            count += 4;
            before = m;
            continue;
        }
        state.Count = count;
        state.Previous = _mm256_cvtsd_f64(_mm256_permute4x64_pd(before, 0xFF));
        if (!TakeLines(state, block, 4))
            return false;
        count = state.Count;
        before = _mm256_set1_pd(state.Previous);
    }
    state.Count = count;
    state.Previous = _mm256_cvtsd_f64(_mm256_permute4x64_pd(before, 0xFF));
    return TakeLines(state, lines + k * kLine, n - k);
}

bool HasAvx2() noexcept
{
    static const bool has = [] {
        __builtin_cpu_init(); // in case this runs before the constructors that set up the CPU model
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}
#endif

} // namespace

bool CPreparedSpectra::AppendLines(const std::uint8_t* lines, std::size_t n)
{
    constexpr std::size_t intensityOffset = 8; // a stored line: mass, intensity, extra, weighted intensity
    const std::size_t first = Reserve(n);

    // As Append, but the sum of squares of a nominal spectrum is left to FinishLines: the lines it takes are
    // exactly the weights kept in Weights(), in their order.
    const double threshold = m_threshold;
    NominalLines state{threshold, m_masses.data() + first, m_weights.data() + first};
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    const bool nominal = HasAvx2() ? TakeLinesAvx2(state, lines, n) : TakeLines(state, lines, n);
#else
    const bool nominal = TakeLines(state, lines, n);
#endif
    double sumOfSquares = 0;
    std::size_t count = state.Count;
    if (!nominal) {
        sumOfSquares = AddEligibleSquares(0, lines, 0, n, intensityOffset, threshold); // not deferred after all
        count = 0;
    }
    m_lineCount = first + count;
    m_entries.push_back(
        {nullptr, sumOfSquares, nominal, static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(count), n});
    return nominal;
}

void CPreparedSpectra::FinishLines()
{
    // Four spectra at a time: each sum adds its own terms in its own order, the four sums side by side.
    constexpr std::size_t kWays = 4;
    Entry* group[kWays];
    std::size_t size = 0;
    const double* weights = m_weights.data();
    const auto add = [&] {
        std::uint32_t common = UINT32_MAX;
        for (std::size_t l = 0; l < size; ++l)
            common = std::min(common, group[l]->Count);
        double sum[kWays] = {0, 0, 0, 0};
        if (size == kWays) {
            const double* w0 = weights + group[0]->First;
            const double* w1 = weights + group[1]->First;
            const double* w2 = weights + group[2]->First;
            const double* w3 = weights + group[3]->First;
            for (std::uint32_t k = 0; k < common; ++k) {
                sum[0] += w0[k] * w0[k];
                sum[1] += w1[k] * w1[k];
                sum[2] += w2[k] * w2[k];
                sum[3] += w3[k] * w3[k];
            }
        } else {
            common = 0;
        }
        for (std::size_t l = 0; l < size; ++l) {
            double s = sum[l];
            const double* w = weights + group[l]->First;
            for (std::uint32_t k = common; k < group[l]->Count; ++k)
                s += w[k] * w[k];
            group[l]->SumOfSquares = s;
        }
        size = 0;
    };
    for (std::size_t e = m_deferredFrom; e < m_entries.size(); ++e) {
        if (!m_entries[e].Nominal)
            continue;
        group[size++] = &m_entries[e];
        if (size == kWays)
            add();
    }
    add();
    m_deferredFrom = m_entries.size();
}

int CPreparedSpectra::Add(const CLibraryMassSpectrumData& spectrum)
{
    static_assert(sizeof(CLibraryMassSpectrumPoint) == CLibraryMassSpectrumData::LineBytes &&
                  offsetof(CLibraryMassSpectrumPoint, Mass) == 0 &&
                  offsetof(CLibraryMassSpectrumPoint, WeightedIntensity) == 24);
    const auto& points = spectrum.Points();
    if (m_deferredFrom < m_entries.size())
        FinishLines(); // the sums of lines added before stay with their spectra
    Append(reinterpret_cast<const std::uint8_t*>(points.data()), points.size(),
           offsetof(CLibraryMassSpectrumPoint, Intensity), &spectrum);
    m_deferredFrom = m_entries.size();
    return static_cast<int>(m_entries.size()) - 1;
}

int CPreparedSpectra::AddLines(std::span<const std::uint8_t> lineBytes, CLibraryMassSpectrumData& fallback)
{
    // A stored line: mass, intensity, extra, weighted intensity.
    const bool nominal = AppendLines(lineBytes.data(), lineBytes.size() / CLibraryMassSpectrumData::LineBytes);
    if (!nominal) {
        fallback.Clear();
        fallback.AppendLines(lineBytes);
        m_entries.back().Spectrum = &fallback;
    }
    return static_cast<int>(m_entries.size()) - 1;
}

bool CPreparedSpectra::BuildTables(std::size_t maxWeights)
{
    if (m_deferredFrom < m_entries.size())
        FinishLines();
    m_tableStart.assign(m_entries.size() + 1, 0);
    std::size_t total = 0;
    for (std::size_t e = 0; e < m_entries.size(); ++e) {
        const Entry& entry = m_entries[e];
        // Ascending masses: the last line is the largest.
        const std::size_t size = entry.Nominal && entry.Count > 0 ? m_masses[entry.First + entry.Count - 1] + 1u : 0u;
        total += size;
        if (total > maxWeights || total > UINT32_MAX) {
            m_tableStart.clear();
            return false;
        }
        m_tableStart[e + 1] = static_cast<std::uint32_t>(total);
    }
    m_table.assign(total, 0.0);
    for (std::size_t e = 0; e < m_entries.size(); ++e) {
        const Entry& entry = m_entries[e];
        if (!entry.Nominal)
            continue;
        double* table = m_table.data() + m_tableStart[e];
        for (std::uint32_t k = entry.First; k < entry.First + entry.Count; ++k)
            table[m_masses[k]] = m_weights[k];
    }
    return true;
}

void CPreparedSpectra::PreparePeaks(const CLibraryChromatogramData& chromatogram, double threshold)
{
    static const CLibraryMassSpectrumData kNoSpectrum;
    Reset(threshold);
    m_entries.reserve(chromatogram.Peaks.size());
    for (const auto& peak : chromatogram.Peaks)
        Add(peak ? peak->Spectrum : kNoSpectrum); // a missing peak never takes part; its handle keeps the count
}

} // namespace corvelin
