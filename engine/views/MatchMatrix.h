#pragma once
// The match matrix of two chromatograms, "this" and "other": the forward comparison with its cell table (rows =
// peaks of "this", columns = peaks of "other"), the reverse comparison without a table, the numeric table of
// the page (column "RT", one column per "this" peak in the RT search range, one row per "other" peak in the
// range, cells "%.3f" from 0.0005 on) and the overall details text, which ends with a note on why its reverse
// match can differ from the hit list's (no one-to-one assignment in the reverse direction). A build reads both files
// through the plug-ins; it replaces the previous matrix only when it gets as far as comparing, so a failed build leaves
// the previous one (and everything that points into it) in place.
#include <atomic>
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/compare/CellTable.h"
#include "engine/compare/LibraryHit.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/table/ReportTable.h"
#include "engine/views/PeakLink.h"

namespace corvelin {

class CSearchOptions;

inline constexpr const char* kMatchMatrixEmptyText = "This list will contain data after comparing.";
// Cells at or above this value are assigned pairs; below it a cell is "not paired".
inline constexpr double kMatrixAssigned = 0.0005;

struct CORVELIN_ENGINE_EXPORT CMatchMatrix {
    CLibraryChromatogram This;
    CLibraryChromatogram Other;
    CCellTable Cells; // This.Peaks.size() x Other.Peaks.size(); empty before the first build
    bool Built = false;
    CLibraryHit Forward;
    CLibraryHit Reverse;
    CReportTable Table;
    std::vector<int> ThisPeakOfColumn; // per table column (column 0 "RT": -1)
    std::vector<int> OtherPeakOfRow;   // per table row
    std::string DetailsText;

    int ThisCount() const noexcept { return static_cast<int>(Cells.Rows()); }
    int OtherCount() const noexcept { return static_cast<int>(Cells.Columns()); }
};

enum class MatchMatrixBuildEnd {
    Built,
    NoPaths,         // "Please choose the files to compare"
    Unreadable,      // "Error reading file <path>"
    NoRICalibration, // "Insufficient RI calibration data for file <path>"
    TooManyPeaks,    // a file has more than kMaxViewPeaks peaks (WithinViewPeakLimit's message)
    Stopped,         // the running flag was cleared (no message)
};

// Reads both files (messages on, data-system names requested, the area threshold as minimum area when it is
// on), recalibrates an input that needs the options' RI table when RI matching is on (refused with fewer than
// 2 points in the options' table), then compares and fills matrix. Messages go to the message sink. With a running
// flag (a page's job) the build looks at it after each read and between the two directions and ends Stopped,
// matrix untouched, once it is cleared.
CORVELIN_ENGINE_EXPORT MatchMatrixBuildEnd BuildMatchMatrix(const std::string& thisPath, const std::string& otherPath,
                                                            const CSearchOptions& options, CMatchMatrix& matrix,
                                                            const std::atomic<bool>* running = nullptr);

// Compares matrix.This with matrix.Other (forward with a fresh cell table, reverse without one) and fills the
// table and the details text. The PeakCount of both is set to the number of peaks they hold first.
CORVELIN_ENGINE_EXPORT void CompareMatchMatrix(CMatchMatrix& matrix, const CSearchOptions& options);

// The page's table from a compared cell table. Columns are inserted with width 40 (the page sizes them).
CORVELIN_ENGINE_EXPORT void FillMatchMatrixTable(CMatchMatrix& matrix, const CSearchOptions& options);

// The table as a CSV report: every field quoted with its comma, columns in index order, lines ending "\n"
// (CR LF once written as a text-mode file).
CORVELIN_ENGINE_EXPORT std::string MatchMatrixCsv(const CMatchMatrix& matrix);

// The action of a hover-tip link (engine/views/PeakLink.h) on the matrix's peaks: the label "%.2f %s" of the
// peak's RT and its chromatogram's path; "-Nist-" hands spectrum, label and sample name to sendToNist, "-Spec-"
// adds the spectrum under the label to the options' spectral list (inactive, as spectra added from a file).
// Returns whether a peak was acted on (false for a malformed link or a peak that does not exist).
using NistSender = void (*)(const CLibraryMassSpectrumData& spectrum, const std::string& name,
                            const std::string& comment);
CORVELIN_ENGINE_EXPORT bool RunMatchMatrixPeakLink(const CMatchMatrix& matrix, const std::string& link,
                                                   const std::string& thisPath, const std::string& otherPath,
                                                   CSearchOptions& options, NistSender sendToNist);

} // namespace corvelin
