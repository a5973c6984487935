#include "engine/views/PeakMatchTable.h"

#include <cerrno>
#include <cstring>
#include <exception>

#include "engine/compare/LibraryHit.h"
#include "engine/compare/MatchFactors.h"
#include "engine/core/Exceptions.h"
#include "engine/core/PeakShare.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/platform/TextFile.h"
#include "engine/table/ColumnArrangement.h"
#include "engine/table/CsvReportFile.h"
#include "engine/table/ReportCsv.h"
#include "engine/table/ReportTable.h"
#include "engine/workflow/InputReader.h"
#include "engine/workflow/SearchParameterText.h"
#include "engine/views/ViewPeakLimit.h"

namespace corvelin {

namespace {

constexpr double kAssigned = MatchConstants::StopThreshold;
constexpr const char* kCaption = "Corvelinscope";

struct ColumnSpec {
    const char* Header;
    ColumnAlign Align;
};

constexpr ColumnSpec kColumns[PeakMatchColumn::Count] = {
    {"RT (this)", ColumnAlign::Left},          {"Peak num (this)", ColumnAlign::Left},
    {"Area (this)", ColumnAlign::Right},       {"Area % (this)", ColumnAlign::Right},
    {"Height (this)", ColumnAlign::Right},     {"Height % (this)", ColumnAlign::Right},
    {"Peak start (this)", ColumnAlign::Right}, {"Peak end (this)", ColumnAlign::Right},
    {"RI (this)", ColumnAlign::Right},         {"RT (other)", ColumnAlign::Left},
    {"Peak num (other)", ColumnAlign::Left},   {"Area (other)", ColumnAlign::Right},
    {"Area % (Other)", ColumnAlign::Right},    {"Height (other)", ColumnAlign::Right},
    {"Height % (other)", ColumnAlign::Right},  {"Peak start (other)", ColumnAlign::Right},
    {"Peak end (other)", ColumnAlign::Right},  {"RI (other)", ColumnAlign::Right},
    {"Match value", ColumnAlign::Left},        {"RT match", ColumnAlign::Left},
    {"RI match", ColumnAlign::Left},           {"Area match", ColumnAlign::Left},
    {"Height match", ColumnAlign::Left},       {"MS Match", ColumnAlign::Left},
};

// Width a column is inserted with (what a first start shows before the user arranges the columns).
constexpr int kInsertedWidth = 80;

// The nine cells of one side of a row.
void PutPeak(std::vector<std::string>& cells, int first, const CLibraryChromatogramPeakData& peak,
             const CLibraryChromatogram& chromatogram)
{
    cells[first + 0] = FormatC("%.2f", peak.RT);
    cells[first + 1] = FormatC("%2i", peak.PeakNumber);
    cells[first + 2] = FormatC("%.0f", peak.Area);
    cells[first + 3] = FormatC("%.2f %%", PeakSharePercent(peak.Area, chromatogram.TotalArea));
    cells[first + 4] = FormatC("%.1f", peak.Height);
    cells[first + 5] = FormatC("%.2f %%", PeakSharePercent(peak.Height, chromatogram.TotalHeight));
    cells[first + 6] = FormatC("%.2f", peak.StartRT);
    cells[first + 7] = FormatC("%.2f", peak.EndRT);
    cells[first + 8] = FormatC("%.1f", peak.RI);
}

void PutDashes(std::vector<std::string>& cells, int first)
{
    for (int c = first; c < first + 9; ++c)
        cells[c].assign(1, '-');
}

double RangeSum(const CLibraryChromatogram& chromatogram, const CSearchOptions& options)
{
    if (options.TimeRange == "*")
        return 0.0;
    double sum = 0.0;
    for (const auto& peak : chromatogram.Peaks)
        if (options.IsInTimeRange(peak->RT))
            sum += peak->Area;
    return sum;
}

// The first "other" peak assigned to row i, or -1.
int PartnerOf(const CCellTable& cells, std::size_t row, std::size_t columns)
{
    for (std::size_t j = 0; j < columns; ++j)
        if (cells(row, j) >= kAssigned)
            return static_cast<int>(j);
    return -1;
}

std::string FileNamePart(const std::string& path)
{
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(cut + 1);
}

// Reads one input for the table; anything but Built after its message.
CPeakMatchTable::Outcome ReadTableInput(const std::string& path, const CSearchOptions& options,
                                        CLibraryChromatogram& target)
{
    const CInputRead read = ReadInput(path, options, InputUse::PeakMatchTable, target);
    if (!read.Read)
        return read.RIRefused       ? CPeakMatchTable::Outcome::MissingRICalibration
               : read.Code == EFBIG ? CPeakMatchTable::Outcome::TooManyPeaks
                                    : CPeakMatchTable::Outcome::Unreadable;
    if (!WithinViewPeakLimit(path, target))
        return CPeakMatchTable::Outcome::TooManyPeaks;
    return CPeakMatchTable::Outcome::Built;
}

// The forward comparison of a read pair into its cell table.
void CompareRead(CPeakMatchTable::CCompared& compared, const CSearchOptions& options)
{
    // A damaged or hostile file may claim any PeakCount: the table counts the peaks that exist, as the matrix does.
    compared.This.PeakCount = static_cast<int>(compared.This.Peaks.size());
    compared.Other.PeakCount = static_cast<int>(compared.Other.Peaks.size());
    compared.Cells.Resize(compared.This.Peaks.size(), compared.Other.Peaks.size());
    CLibraryHit hit;
    compared.This.Compare(compared.Other, options, hit, &compared.Cells);
}

// The last sorted column and direction of every peak match table of the process.
int g_lastColumn = -1;
int g_lastDescending = 0;

} // namespace

void SetUpPeakMatchColumns(CReportTable& table)
{
    table.DeleteAllColumns();
    for (const ColumnSpec& spec : kColumns)
        table.InsertColumn(spec.Header, kInsertedWidth, spec.Align);
}

void FillPeakMatchRows(const CLibraryChromatogram& self, const CLibraryChromatogram& other,
                       const CSearchOptions& options, const CCellTable& cells, CReportTable& table)
{
    const std::size_t nThis = self.Peaks.size();
    const std::size_t nOther = other.Peaks.size();
    const double thisRange = RangeSum(self, options);
    const double otherRange = RangeSum(other, options);
    const double threshold = MassThresholdOf(options);

    std::vector<std::size_t> unmatched;
    for (std::size_t i = 0; i < nThis; ++i) {
        const int j = PartnerOf(cells, i, nOther);
        if (j < 0) {
            unmatched.push_back(i);
            continue;
        }
        const CLibraryChromatogramPeakData& a = *self.Peaks[i];
        const CLibraryChromatogramPeakData& b = *other.Peaks[static_cast<std::size_t>(j)];
        std::vector<std::string> row(PeakMatchColumn::Count);
        PutPeak(row, 0, a, self);
        PutPeak(row, 9, b, other);
        row[PeakMatchColumn::MatchValue] = FormatC("%.3f", cells(i, static_cast<std::size_t>(j)));
        if (options.RTMatching)
            row[PeakMatchColumn::RTMatch] = FormatC("%.3f", RTMatch(a.RT, b.RT, options));
        if (options.RIMatching)
            row[PeakMatchColumn::RIMatch] = FormatC("%.3f", RIMatch(a, b, options));
        if (options.AreaMatching)
            row[PeakMatchColumn::AreaMatch] =
                FormatC("%.3f", AreaMatch(a, b, options, self.TotalArea, other.TotalArea, thisRange, otherRange));
        if (options.HeightMatching)
            row[PeakMatchColumn::HeightMatch] =
                FormatC("%.3f", HeightMatch(a, b, options, self.TotalHeight, other.TotalHeight));
        if (options.MSMatching)
            row[PeakMatchColumn::MSMatch] = FormatC("%.3f", MSMatch(a.Spectrum, b.Spectrum, threshold));
        table.AddRow(std::move(row));
    }
    for (std::size_t i : unmatched) {
        std::vector<std::string> row(PeakMatchColumn::Count);
        PutPeak(row, 0, *self.Peaks[i], self);
        PutDashes(row, 9);
        table.AddRow(std::move(row));
    }
    for (std::size_t j = 0; j < nOther; ++j) {
        bool taken = false;
        for (std::size_t i = 0; i < nThis && !taken; ++i)
            taken = cells(i, j) >= kAssigned;
        if (taken)
            continue;
        std::vector<std::string> row(PeakMatchColumn::Count);
        PutDashes(row, 0);
        PutPeak(row, 9, *other.Peaks[j], other);
        table.AddRow(std::move(row));
    }
}

bool CPeakMatchSort::DefaultDescending(int column) noexcept
{
    return (column >= 2 && column <= 5) || (column >= 11 && column <= 14) || column > 17;
}

int CPeakMatchSort::NextKey(int column)
{
    const int defaultDescending = DefaultDescending(column) ? 1 : 0;
    int descending = defaultDescending;
    if (column == g_lastColumn && g_lastDescending == defaultDescending)
        descending = 1 - defaultDescending;
    g_lastColumn = column;
    g_lastDescending = descending;
    return descending ? -(column + 1) : column + 1;
}

void CPeakMatchSort::Reset() noexcept
{
    g_lastColumn = -1;
    g_lastDescending = 0;
}

void SortPeakMatchTable(CReportTable& table, int column)
{
    if (column < 0 || column >= table.ColumnCount())
        return;
    table.Sort({CPeakMatchSort::NextKey(column), kCompareReal}, {0, kCompareEqual}, {0, kCompareEqual});
}

CPeakMatchTable::Outcome CPeakMatchTable::Check(const std::string& thisPath, const std::string& otherPath,
                                                const CSearchOptions& options)
{
    if (thisPath.empty() || otherPath.empty()) {
        ShowMessage("Please choose the files to compare", kCaption, MessageIcon::Exclamation);
        return Outcome::MissingPath;
    }
    if (options.MultipleMatching) {
        const bool yes =
            Messages().AskYesNo("This function requires multiple matching to be disabled.\nDo you like to switch "
                                "it off now?",
                                kCaption, MessageIcon::Exclamation);
        return yes ? Outcome::OpenOptions : Outcome::MultipleMatching;
    }
    return Outcome::Built;
}

CPeakMatchTable::Outcome CPeakMatchTable::ReadAndCompare(const std::string& thisPath, const std::string& otherPath,
                                                         const CSearchOptions& options, CCompared& compared,
                                                         const std::atomic<bool>* running)
{
    const auto stopped = [running] { return running != nullptr && !running->load(); };
    // Both inputs are read into new chromatograms and taken over only when both are usable, so the rows of
    // the previous table keep naming the peaks of the chromatograms they were built from.
    CCompared read;
    if (Outcome o = ReadTableInput(thisPath, options, read.This); o != Outcome::Built)
        return o;
    if (stopped())
        return Outcome::Stopped;
    if (Outcome o = ReadTableInput(otherPath, options, read.Other); o != Outcome::Built)
        return o;
    if (stopped())
        return Outcome::Stopped;
    CompareRead(read, options);
    compared = std::move(read);
    return Outcome::Built;
}

void CPeakMatchTable::Show(CCompared compared, const CSearchOptions& options, CReportTable& table,
                           bool applyArrangement)
{
    m_this = std::move(compared.This);
    m_other = std::move(compared.Other);
    m_cells = std::move(compared.Cells);
    SetUpPeakMatchColumns(table);
    if (applyArrangement)
        ApplyStoredArrangement(table, kPeakMatchSection);
    FillPeakMatchRows(m_this, m_other, options, m_cells, table);
    m_built = true;
}

CPeakMatchTable::Outcome CPeakMatchTable::Build(const std::string& thisPath, const std::string& otherPath,
                                                const CSearchOptions& options, CReportTable& table,
                                                bool applyArrangement)
{
    if (Outcome o = Check(thisPath, otherPath, options); o != Outcome::Built)
        return o;
    CCompared compared;
    if (Outcome o = ReadAndCompare(thisPath, otherPath, options, compared); o != Outcome::Built)
        return o;
    Show(std::move(compared), options, table, applyArrangement);
    return Outcome::Built;
}

void CPeakMatchTable::Build(CLibraryChromatogram self, CLibraryChromatogram other, const CSearchOptions& options,
                            CReportTable& table, bool applyArrangement)
{
    CCompared compared{std::move(self), std::move(other), {}};
    CompareRead(compared, options);
    Show(std::move(compared), options, table, applyArrangement);
}

const CLibraryChromatogramPeakData* CPeakMatchTable::PeakOfRow(const CReportTable& table, int row, int column) const
{
    if (row < 0 || row >= table.RowCount() || column < 0 || table.ColumnCount() < PeakMatchColumn::Count)
        return nullptr;
    const bool thisSide = column < PeakMatchColumn::OtherRT;
    const std::string& rt = table.Cell(row, thisSide ? PeakMatchColumn::ThisRT : PeakMatchColumn::OtherRT);
    if (rt.empty() || rt == "-")
        return nullptr;
    const int number =
        LeadingInteger(table.Cell(row, thisSide ? PeakMatchColumn::ThisPeakNumber : PeakMatchColumn::OtherPeakNumber));
    return SideOf(column).GetPeak(number - 1);
}

std::string CPeakMatchTable::PeakLabel(int row, int column, const CReportTable& table) const
{
    const CLibraryChromatogramPeakData* peak = PeakOfRow(table, row, column);
    if (!peak)
        return {};
    return FormatC("%.2f %s", peak->RT, SideOf(column).SourcePath.c_str());
}

std::string PeakMatchCsvFileName(const std::string& thisPath, const std::string& otherPath)
{
    if (thisPath.find_last_of("/\\") == std::string::npos || otherPath.find_last_of("/\\") == std::string::npos)
        return {};
    return FileNamePart(thisPath) + "_" + FileNamePart(otherPath);
}

std::string PeakMatchCsvText(const CLibraryChromatogram& self, const CLibraryChromatogram& other,
                             const CSearchOptions& o, const CReportTable& table)
{
    std::string t;
    t += "Peak compare table for = " + self.SourcePath + " (this) and " + other.SourcePath + " (other)\n";
    t += "\n";
    t += "Sample name (this) = " + self.SampleName + "\n";
    t += FormatC("Number of peaks (this) = %i\n", self.PeakCount);
    t += "\n";
    t += "Sample name (other) " + other.SampleName + "\n";
    t += FormatC("Number of peaks (other) = %i\n", other.PeakCount);
    t += "\n";
    t += "Compare parameters:\n";
    t += MatchingFlagLines(o);
    t += "\n";
    t += "RT search range: " + o.TimeRange + "\n";
    t += WindowAndThresholdLines(o);
    t += "\n";
    t += "Peak compare table:\n";
    t += CsvTable(table, CsvColumnOrder::Display);
    return t;
}

bool WritePeakMatchCsv(const std::string& path, const CLibraryChromatogram& self, const CLibraryChromatogram& other,
                       const CSearchOptions& options, const CReportTable& table)
{
    return WriteReportFile(path, [&] { WriteTextFile(path, PeakMatchCsvText(self, other, options, table)); });
}

} // namespace corvelin
