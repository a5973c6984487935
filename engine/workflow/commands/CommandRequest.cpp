#include "engine/workflow/commands/CommandRequest.h"

#include "engine/workflow/CommandLine.h"

namespace corvelin {

CCommandRequest MakeCommandRequest(const CCommandLine& line, const CSearchOptions& options)
{
    const double minArea = line.MinAreaOn ? line.MinArea : 0.0;
    if (line.SummaryOutput)
        return CSummaryRequest{options, *line.SummaryOutput, line.SummaryOf, line.Threads};
    if (!line.Merge.empty())
        return CMergeRequest{line.Merge, line.Out};
    if (!line.Unknowns.empty() || (line.IsBatchSearch() && !line.Shard.empty()))
        return CUnknownsRequest{options,  line.Unknowns,       line.SearchFile,      line.LibraryFolder, line.Shard,
                                line.Out, line.SaveAfterBatch, line.PrintAfterBatch, line.Threads,       line.Debug};
    if (line.IsBatchSearch())
        return CSearchRequest{
            options,      line.SearchFile, line.LibraryFolder, line.SaveAfterBatch, line.PrintAfterBatch,
            line.Threads, line.Out};
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
    // A new command ("/TIC=") is picked here, in its place in this order.
    return CNoCommandRequest{};
}

} // namespace corvelin
