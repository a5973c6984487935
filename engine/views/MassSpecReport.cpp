#include "engine/views/MassSpecReport.h"

#include <exception>

#include "engine/compare/MatchFactors.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"
#include "engine/table/ReportCsv.h"
#include "engine/table/ReportTable.h"
#include "engine/workflow/InputReader.h"

namespace corvelin {

namespace {

constexpr int kEntryColumnWidth = 50;

// Removes every row and every column but the first.
void KeepFirstColumnOnly(CReportTable& table)
{
    table.DeleteAllRows();
    if (table.ColumnCount() == 0) {
        table.InsertColumn("RT", 40);
        return;
    }
    if (table.ColumnCount() == 1)
        return;
    const CReportColumn first = table.Column(0);
    table.DeleteAllColumns();
    table.InsertColumn(first.Header, first.Width, first.Align);
}

} // namespace

void SetUpMassSpecReportColumns(CReportTable& table)
{
    table.DeleteAllColumns();
    for (const char* header : {"RT", "Comp. 1", "Comp. 2"})
        table.InsertColumn(header, 40);
}

void FillMassSpecReport(const CLibraryChromatogram& chromatogram, const CSearchOptions& options, CReportTable& table)
{
    KeepFirstColumnOnly(table);
    std::vector<const CLibraryMassSpectrum*> marked;
    for (int i = 0; i < options.GetSpectraCount(); ++i) {
        std::string name;
        bool active = false;
        const CLibraryMassSpectrum* spectrum = options.GetSpectrum(i, &name, &active);
        if (!spectrum || !active)
            continue;
        table.InsertColumn(name, kEntryColumnWidth, ColumnAlign::Left);
        marked.push_back(spectrum);
    }
    const double threshold = MassThresholdOf(options);
    for (const auto& peak : chromatogram.Peaks) {
        std::vector<std::string> row;
        row.reserve(marked.size() + 1);
        row.push_back(FormatC("%.2f", peak->RT));
        for (const CLibraryMassSpectrum* spectrum : marked) {
            const double fit = MSMatch(spectrum->Data(), peak->Spectrum, threshold);
            row.push_back(fit >= MatchConstants::StopThreshold ? FormatC("%.3f", fit) : std::string(" "));
        }
        table.AddRow(std::move(row));
    }
}

MassSpecReportOutcome BuildMassSpecReport(const std::string& path, const CSearchOptions& options, CReportTable& table,
                                          CMassSpecReportSource* source)
{
    if (options.GetSpectraCount() == 0) {
        ShowMessage("There are no search parameter mass specs to report the matches", "Error",
                    MessageIcon::Exclamation);
        return MassSpecReportOutcome::NoSpectra;
    }
    if (path.empty()) {
        ShowMessage("Please select a chromatogram!", "Error", MessageIcon::Stop);
        return MassSpecReportOutcome::MissingPath;
    }
    KeepFirstColumnOnly(table);
    CLibraryChromatogram chromatogram;
    const CInputRead read = ReadInput(path, options, InputUse::MassSpecBrowse, chromatogram,
                                      {options.AreaThresholdOn ? options.AreaThreshold : 0.0, false});
    if (!read.Read) {
        const std::string text = FormatC("Error reading from Chromatogram file '%s'", path.c_str());
        ShowMessage(read.Reason.empty() ? text : text + "\n" + read.Reason);
        table.DeleteAllRows();
        table.AddRow({text});
        return MassSpecReportOutcome::Unreadable;
    }
    if (source) {
        source->SampleName = chromatogram.SampleName;
        source->DataSystem = read.DataSystemName;
    }
    FillMassSpecReport(chromatogram, options, table);
    return MassSpecReportOutcome::Built;
}

std::string MassSpecReportCsvText(const CReportTable& table)
{
    return CsvTable(table, CsvColumnOrder::Display);
}

} // namespace corvelin
