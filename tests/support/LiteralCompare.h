#pragma once
// A literal, deliberately unoptimised transcription of the documented comparison: every pair evaluated with
// the participation tests repeated per pair, a spectrum wrapper copied for every spectrum comparison, and the
// one-to-one resolution that rescans the whole table for every assignment. Tests compare the engine with it
// cell for cell; the benchmarks measure the engine against it. Not part of the engine.
#include "engine/compare/PairValue.h"

namespace corvelin {

class CCellTable;
class CLibraryHit;
class CSearchOptions;

namespace literal {

// PairValue with MSMatch on a freshly copied spectrum wrapper, as documented.
CPairFactors PairValue(const CLibraryChromatogramPeakData& thisPeak, const CLibraryChromatogramPeakData& otherPeak,
                       const CPairContext& context);

// ResolveCellTable with the iterative one-to-one assignment (one table scan per winner).
void ResolveCellTable(const CSearchOptions& options, CCellTable& table, int rows, int columns);

// Compare as documented. Like the engine, it first sets the rows x columns block of the table to -2 (the
// caller's reset), so stale table contents do not matter.
double Compare(const CLibraryChromatogramData& self, const CLibraryChromatogramData& other,
               const CSearchOptions& options, CLibraryHit* hit, CCellTable* cells);

} // namespace literal

} // namespace corvelin
