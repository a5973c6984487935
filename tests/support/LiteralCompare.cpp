#include "tests/support/LiteralCompare.h"

#include <cmath>

#include "engine/compare/CellTable.h"
#include "engine/compare/LibraryHit.h"
#include "engine/compare/MatchFactors.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"

namespace corvelin {

namespace literal {

CPairFactors PairValue(const CLibraryChromatogramPeakData& thisPeak, const CLibraryChromatogramPeakData& otherPeak,
                       const CPairContext& context)
{
    const CSearchOptions& options = context.Options;
    CPairFactors f;
    f.Value = 1;
    double v = 1;
    if (options.RTMatching) {
        f.RT = RTMatch(thisPeak.RT, otherPeak.RT, options);
        v = f.RT;
    }
    if (options.RIMatching) {
        f.RI = RIMatch(thisPeak, otherPeak, options);
        v = v * f.RI;
    }
    if (v < 0.0005) {
        f.Value = v;
        return f;
    }
    if (options.MSMatching) {
        const double t = options.MassThresholdOn ? options.MassThreshold : 0;
        const CLibraryMassSpectrum wrapper(thisPeak.Spectrum);
        f.MS = wrapper.MSMatch(otherPeak.Spectrum, t);
        v = v * f.MS;
    }
    if (v < 0.0005) {
        f.Value = v;
        return f;
    }
    if (options.AreaMatching) {
        f.Area = AreaMatch(thisPeak, otherPeak, options, context.ThisChromatogram.TotalArea,
                           context.OtherChromatogram.TotalArea, context.ThisRangeSum, context.OtherRangeSum);
        v = v * f.Area;
    }
    if (v < 0.0005) {
        f.Value = v;
        return f;
    }
    if (options.HeightMatching) {
        f.Height = HeightMatch(thisPeak, otherPeak, options, context.ThisChromatogram.TotalHeight,
                               context.OtherChromatogram.TotalHeight);
        v = v * f.Height;
    }
    f.Value = v;
    return f;
}

void ResolveCellTable(const CSearchOptions& options, CCellTable& table, int rows, int columns)
{
    if (options.MultipleMatching) {
        for (int i = 0; i < rows; ++i) {
            double m = -1;
            for (int j = 0; j < columns; ++j)
                if (table(i, j) > m)
                    m = table(i, j);
            bool first = true;
            for (int j = 0; j < columns; ++j) {
                if (table(i, j) < m) {
                    table(i, j) = -1;
                } else if (table(i, j) == m) {
                    if (!first)
                        table(i, j) = -1;
                    first = false;
                }
            }
        }
        return;
    }
    for (;;) {
        // 1. The largest cell; the first of equal cells wins.
        double f = -1;
        int a = -1;
        int e = -1;
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < columns; ++j)
                if (table(i, j) > f) {
                    f = table(i, j);
                    a = i;
                    e = j;
                }
        // 2.
        if (f < 0)
            break;
        // 3. Clear the winner's row, then its column.
        bool first = true;
        for (int j = 0; j < columns; ++j) {
            double& c = table(a, j);
            if (c >= 0 && c < f) {
                c = -2;
            } else if (c == f) {
                if (!first)
                    c = -2;
                first = false;
            }
        }
        first = true;
        for (int i = 0; i < rows; ++i) {
            double& c = table(i, e);
            if (c >= 0 && c < f) {
                c = -2;
            } else if (c == f) {
                if (!first)
                    c = -2;
                first = false;
            }
        }
        // 4. Mark the winner as taken.
        table(a, e) = -table(a, e);
        // 5.
        if (!(f > 0))
            break;
    }
    // 6.
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < columns; ++j) {
            double& c = table(i, j);
            if (c == -2)
                c = 0;
            else if (c < 0)
                c = std::fabs(c);
        }
}

double Compare(const CLibraryChromatogramData& self, const CLibraryChromatogramData& other,
               const CSearchOptions& options, CLibraryHit* hit, CCellTable* cells)
{
    const int rows = self.PeakCount < 0 ? 0 : self.PeakCount;
    const int columns = other.PeakCount < 0 ? 0 : other.PeakCount;
    if (cells)
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < columns; ++j)
                (*cells)(i, j) = -2;

    // 1. Range sums.
    double thisRangeSum = 0;
    double otherRangeSum = 0;
    if (options.TimeRange != "*") {
        for (int i = 0; i < rows; ++i)
            if (const auto* p = self.GetPeak(i); p && options.IsInTimeRange(p->RT))
                thisRangeSum += p->Area;
        for (int j = 0; j < columns; ++j)
            if (const auto* p = other.GetPeak(j); p && options.IsInTimeRange(p->RT))
                otherRangeSum += p->Area;
    }
    const CPairContext context{self, other, options, thisRangeSum, otherRangeSum};

    // 2.
    int skipped = 0;
    int matched = 0;
    double sumBest = 0, sumMS = 0, sumRT = 0, sumRI = 0, sumArea = 0, sumHeight = 0;
    for (int i = 0; i < rows; ++i) {
        const CLibraryChromatogramPeakData* p = self.GetPeak(i);
        double best = -1;
        int bestIndex = -1;
        CPairFactors bestFactors{0, 0, 0, 0, 0, 0};
        bool takesPart = p != nullptr && options.IsInTimeRange(p->RT);
        if (takesPart && options.AreaThresholdOn && p->Area * 100 / self.TotalArea < options.AreaThreshold)
            takesPart = false;
        if (takesPart && options.IsPeakExcluded(&p->Spectrum))
            takesPart = false;
        if (!takesPart) {
            ++skipped;
            continue;
        }
        for (int j = 0; j < columns; ++j) {
            if (cells)
                (*cells)(i, j) = 0;
            const CLibraryChromatogramPeakData* q = other.GetPeak(j);
            if (q == nullptr || !options.IsInTimeRange(q->RT))
                continue;
            if (options.AreaThresholdOn && q->Area * 100 / other.TotalArea < options.AreaThreshold)
                continue;
            if (options.IsPeakExcluded(&q->Spectrum))
                continue;
            const CPairFactors f = literal::PairValue(*p, *q, context);
            if (f.Value >= 0.0005 && f.Value > best) {
                best = f.Value;
                bestIndex = j;
                bestFactors = f;
            }
            if (cells)
                (*cells)(i, j) = f.Value;
        }
        if (bestIndex >= 0) {
            ++matched;
            sumBest += best;
            sumMS += bestFactors.MS;
            sumRT += bestFactors.RT;
            sumRI += bestFactors.RI;
            sumArea += bestFactors.Area;
            sumHeight += bestFactors.Height;
        }
    }

    double total = 0;
    if (!cells) {
        // 3.
        total = sumBest;
    } else {
        // 4.
        matched = 0;
        ResolveCellTable(options, *cells, rows, columns);
        // 5.
        const int w = options.Weighting;
        const bool weighting = w == 1 || w == 2 || w == 3 || w == 4;
        double weightSum = 0;
        for (int i = 0; i < rows; ++i) {
            const CLibraryChromatogramPeakData* p = self.GetPeak(i);
            if (p == nullptr || !options.IsInTimeRange(p->RT))
                continue;
            double weight = 1;
            if (w == 1)
                weight = p->Area;
            else if (w == 2)
                weight = p->Height;
            else if (w == 3)
                weight = std::log(p->Area);
            else if (w == 4)
                weight = std::log(p->Height);
            if (weighting)
                weightSum += weight;
            for (int j = 0; j < columns; ++j) {
                if ((*cells)(i, j) > 0) {
                    if (weighting)
                        (*cells)(i, j) *= weight;
                    ++matched;
                }
            }
        }
        if (!(weightSum > 0))
            weightSum = 1;
        total = 0;
        for (int i = 0; i < rows; ++i) {
            const CLibraryChromatogramPeakData* p = self.GetPeak(i);
            if (p == nullptr || !options.IsInTimeRange(p->RT))
                continue;
            for (int j = 0; j < columns; ++j) {
                if ((*cells)(i, j) != -1) {
                    (*cells)(i, j) /= weightSum;
                    total += (*cells)(i, j);
                }
            }
        }
        if (weighting)
            total = total * (rows - skipped);
    }

    // 6.
    const int considered = rows - skipped;
    // 7.
    if (hit) {
        hit->ConsideredPeaks = considered;
        hit->MatchedPeaks = matched;
        if (considered >= 1) {
            hit->Overall = total / considered;
            hit->MSAverage = sumMS / considered;
            hit->RTAverage = sumRT / considered;
            hit->RIAverage = sumRI / considered;
            hit->AreaAverage = sumArea / considered;
            hit->HeightAverage = sumHeight / considered;
        } else {
            hit->Overall = hit->MSAverage = hit->RTAverage = hit->RIAverage = hit->AreaAverage = hit->HeightAverage = 0;
        }
    }
    // 8.
    return considered >= 1 ? total / considered : 0;
}

} // namespace literal

} // namespace corvelin
