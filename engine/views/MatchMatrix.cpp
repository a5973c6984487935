#include "engine/views/MatchMatrix.h"

#include <cerrno>
#include <exception>

#include "engine/compare/Compare.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/table/ReportCsv.h"
#include "engine/views/ViewPeakLimit.h"
#include "engine/workflow/InputReader.h"

namespace corvelin {

namespace {

// Said under the overall details: the reverse comparison passes no cell table, so each peak of "other" takes its
// best peak of "this" without the one-to-one assignment the library search uses, and its reverse match (and
// matched peak count) can be higher than the hit list's for the same pair.
// The tip does not wrap its text: the note is broken into lines of about the details table's width.
constexpr const char* kReverseNote =
    "<br>The reverse match here pairs every \"other\" peak with its best<br>\"this\" peak, without the one-to-one "
    "peak assignment of the<br>library search, so it can be higher (and count more matched<br>peaks) than the "
    "reverse match of the same pair in the hit list.";

// Reads one input for the matrix; false after its message.
bool ReadMatrixInput(const std::string& path, const CSearchOptions& options, CLibraryChromatogram& target,
                     MatchMatrixBuildEnd& end)
{
    const CInputRead read = ReadInput(path, options, InputUse::MatchMatrix, target);
    if (!read.Read) {
        end = read.RIRefused       ? MatchMatrixBuildEnd::NoRICalibration
              : read.Code == EFBIG ? MatchMatrixBuildEnd::TooManyPeaks
                                   : MatchMatrixBuildEnd::Unreadable;
        return false;
    }
    if (!WithinViewPeakLimit(path, target)) {
        end = MatchMatrixBuildEnd::TooManyPeaks;
        return false;
    }
    return true;
}

// Compares matrix.This with matrix.Other and fills the rest; false, with the matrix compared in part, when stopped()
// says so before a direction.
template <typename Stopped> bool CompareInto(CMatchMatrix& matrix, const CSearchOptions& options, Stopped stopped)
{
    // A damaged or hostile file may claim any PeakCount: the matrix counts the peaks that exist, so the table,
    // the comparison and the display agree on one size.
    matrix.This.PeakCount = static_cast<int>(matrix.This.Peaks.size());
    matrix.Other.PeakCount = static_cast<int>(matrix.Other.Peaks.size());
    matrix.Cells.Resize(matrix.This.Peaks.size(), matrix.Other.Peaks.size());
    matrix.Forward = CLibraryHit();
    matrix.Reverse = CLibraryHit();
    if (stopped())
        return false;
    CompareChromatograms(matrix.This, matrix.Other, options, &matrix.Forward, &matrix.Cells);
    if (stopped())
        return false;
    CompareChromatograms(matrix.Other, matrix.This, options, &matrix.Reverse, nullptr);
    matrix.Built = true;
    FillMatchMatrixTable(matrix, options);
    matrix.DetailsText =
        MatchDetailsText(matrix.Forward, matrix.Reverse, matrix.This.PeakCount, matrix.Other.PeakCount, options) +
        kReverseNote;
    return true;
}

} // namespace

MatchMatrixBuildEnd BuildMatchMatrix(const std::string& thisPath, const std::string& otherPath,
                                     const CSearchOptions& options, CMatchMatrix& matrix,
                                     const std::atomic<bool>* running)
{
    if (thisPath.empty() || otherPath.empty()) {
        ShowMessage("Please choose the files to compare", "Corvelinscope", MessageIcon::Exclamation);
        return MatchMatrixBuildEnd::NoPaths;
    }
    const auto stopped = [running] { return running != nullptr && !running->load(); };
    CMatchMatrix built;
    MatchMatrixBuildEnd end = MatchMatrixBuildEnd::Built;
    if (!ReadMatrixInput(thisPath, options, built.This, end))
        return end;
    if (stopped())
        return MatchMatrixBuildEnd::Stopped;
    if (!ReadMatrixInput(otherPath, options, built.Other, end))
        return end;
    if (!CompareInto(built, options, stopped))
        return MatchMatrixBuildEnd::Stopped;
    matrix = std::move(built);
    return MatchMatrixBuildEnd::Built;
}

void CompareMatchMatrix(CMatchMatrix& matrix, const CSearchOptions& options)
{
    CompareInto(matrix, options, [] { return false; });
}

void FillMatchMatrixTable(CMatchMatrix& matrix, const CSearchOptions& options)
{
    CReportTable& table = matrix.Table;
    table.DeleteAllColumns();
    table.SetEmptyText(kMatchMatrixEmptyText);
    matrix.ThisPeakOfColumn.assign(1, -1);
    matrix.OtherPeakOfRow.clear();
    table.InsertColumn("RT", 40);
    for (int j = 0; j < matrix.ThisCount(); ++j) {
        const double rt = matrix.This.Peaks[j]->RT;
        if (!options.IsInTimeRange(rt))
            continue;
        table.InsertColumn(FormatC("%.2f", rt), 40);
        matrix.ThisPeakOfColumn.push_back(j);
    }
    for (int k = 0; k < matrix.OtherCount(); ++k) {
        const double rt = matrix.Other.Peaks[k]->RT;
        if (!options.IsInTimeRange(rt))
            continue;
        std::vector<std::string> cells;
        cells.reserve(matrix.ThisPeakOfColumn.size());
        cells.push_back(FormatC("%.2f", rt));
        for (std::size_t c = 1; c < matrix.ThisPeakOfColumn.size(); ++c) {
            const double v = matrix.Cells(matrix.ThisPeakOfColumn[c], k);
            cells.push_back(v >= kMatrixAssigned ? FormatC("%.3f", v) : std::string());
        }
        table.AddRow(std::move(cells), static_cast<std::uintptr_t>(k));
        matrix.OtherPeakOfRow.push_back(k);
    }
}

std::string MatchMatrixCsv(const CMatchMatrix& matrix)
{
    return CsvTable(matrix.Table, CsvColumnOrder::ColumnIndex);
}

bool RunMatchMatrixPeakLink(const CMatchMatrix& matrix, const std::string& link, const std::string& thisPath,
                            const std::string& otherPath, CSearchOptions& options, NistSender sendToNist)
{
    const CPeakLink parsed = ParsePeakLink(link);
    if (parsed.Kind == CPeakLink::None || !matrix.Built)
        return false;
    const CLibraryChromatogram& chromatogram = parsed.Side == 1 ? matrix.This : matrix.Other;
    const CLibraryChromatogramPeakData* peak = chromatogram.GetPeak(parsed.Peak);
    if (!peak)
        return false;
    const std::string label = FormatC("%.2f %s", peak->RT, (parsed.Side == 1 ? thisPath : otherPath).c_str());
    if (parsed.Kind == CPeakLink::Nist) {
        if (sendToNist)
            sendToNist(peak->Spectrum, label, chromatogram.SampleName);
    } else {
        options.AddSpectrum(label, peak->Spectrum, false);
    }
    return true;
}

} // namespace corvelin
