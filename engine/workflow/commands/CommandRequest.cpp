#include "engine/workflow/commands/CommandRequest.h"

#include "engine/workflow/CommandLine.h"

namespace corvelin {

CCommandRequest MakeCommandRequest(const CCommandLine& line, const CSearchOptions& options)
{
    const double minArea = line.MinAreaOn ? line.MinArea : 0.0;
    if (line.SummaryOutput)
        return CSummaryRequest{options, *line.SummaryOutput, line.SummaryOf, line.Threads};
    if (line.IsBatchSearch())
        return CSearchRequest{
            options, line.SearchFile, line.LibraryFolder, line.SaveAfterBatch, line.PrintAfterBatch, line.Threads};
    if (line.IsBatchConversion())
        return CConvertRequest{options, line.ConvertFile, minArea};
    if (line.PeakTableThis)
        return CPeakTableRequest{options, *line.PeakTableThis, line.PeakTableOther, line.PeakTableCsv};
    if (line.MatchMatrixThis)
        return CMatchMatrixRequest{options, *line.MatchMatrixThis, line.MatrixOther, line.MatrixCsv};
    if (line.MSReportFile)
        return CMSReportRequest{options, *line.MSReportFile, line.MSReportCsv};
    if (line.TicCsv)
        return CTicRequest{options, line.DisplayFile, *line.TicCsv, minArea};
    if (!line.DisplayFile.empty())
        return CDisplayRequest{options, line.DisplayFile, minArea};
    // A new command (the scale-out commands, "/TIC=") is picked here, in its place in this order.
    return CNoCommandRequest{};
}

} // namespace corvelin
