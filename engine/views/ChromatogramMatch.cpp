#include "engine/views/ChromatogramMatch.h"

#include "engine/compare/Compare.h"
#include "engine/options/SearchOptions.h"
#include "engine/views/MatchLines.h"
#include "engine/workflow/InputReader.h"

namespace corvelin {

std::optional<CChromatogramMatch> CompareForMatchPlot(const CLibraryChromatogram& self,
                                                      const CLibraryChromatogram& other, const CSearchOptions& options,
                                                      const std::atomic<bool>& running)
{
    if (!running.load())
        return std::nullopt;
    CChromatogramMatch match;
    const std::size_t side = MatchTableSide(self, other);
    match.Cells.Resize(side, side);
    CompareChromatograms(other, self, options, &match.Reverse, &match.Cells);
    if (!running.load())
        return std::nullopt;
    match.Cells.Resize(side, side);
    CompareChromatograms(self, other, options, &match.Forward, &match.Cells);
    return match;
}

CChromatogramMatch CompareForMatchPlot(const CLibraryChromatogram& self, const CLibraryChromatogram& other,
                                       const CSearchOptions& options)
{
    const std::atomic<bool> running{true};
    return *CompareForMatchPlot(self, other, options, running);
}

bool ReadChromatogramMatchInputs(const std::string& thisPath, const std::string& otherPath,
                                 const CSearchOptions& options, CChromatogramMatchInputs& inputs)
{
    const CInputRead first = ReadInput(thisPath, options, InputUse::ChromatogramMatch, inputs.This);
    if (!first.Read)
        return false;
    const CInputRead second = ReadInput(otherPath, options, InputUse::ChromatogramMatch, inputs.Other);
    if (!second.Read)
        return false;
    inputs.RIWarning.clear();
    for (const auto& [path, lacks] : {std::pair{thisPath, first.RIUnknown}, std::pair{otherPath, second.RIUnknown}})
        if (lacks)
            inputs.RIWarning += (inputs.RIWarning.empty() ? "" : "\n\n") + RIWarningForFile(path);
    return true;
}

} // namespace corvelin
