#include "engine/scaleout/ShardMerge.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>

#include "engine/platform/CFormat.h"
#include "engine/platform/Sha256.h"
#include "engine/table/ReportTable.h"

namespace fs = std::filesystem;

namespace corvelin {

namespace {

[[noreturn]] void Refuse(const std::string& text)
{
    throw CShardMergeRefused(text);
}

// Why header h is not the search of reference r ("" when it is).
std::string Difference(const CShardHeader& h, const CShardHeader& r)
{
    if (h.Program != r.Program)
        return "made by another program version (" + h.Program + ", not " + r.Program + ")";
    if (h.Shard.Count != r.Shard.Count)
        return FormatC("of a search in %d shards, not %d", h.Shard.Count, r.Shard.Count);
    if (h.UnknownSha256 != r.UnknownSha256 || h.SampleName != r.SampleName || h.PeakCountText != r.PeakCountText ||
        h.TooManyPeaks != r.TooManyPeaks || h.FailureText != r.FailureText)
        return "stale: made from another version of the unknown file";
    if (h.LibraryFolder != r.LibraryFolder)
        return "stale: made from another library folder (" + h.LibraryFolder + ")";
    if (h.OptionsSha256 != r.OptionsSha256 || h.ParameterLines != r.ParameterLines || h.MaxPeaks != r.MaxPeaks ||
        h.Subfolders != r.Subfolders)
        return "stale: made with other search options";
    if (h.EntryCount != r.EntryCount || h.EntryListSha256 != r.EntryListSha256)
        return "stale: made from another state of the library (other entries)";
    return {};
}

std::string Describe(const CShardInput& input)
{
    return FormatC("shard file %s (shard %d/%d)", input.Path.c_str(), input.Result.Header.Shard.Index,
                   input.Result.Header.Shard.Count);
}

// The header most files of the group carry (the first such in the given order on a tie).
const CShardHeader& Reference(const std::vector<const CShardInput*>& group)
{
    std::size_t best = 0;
    std::size_t bestVotes = 0;
    for (std::size_t i = 0; i < group.size(); ++i) {
        std::size_t votes = 0;
        for (const CShardInput* other : group)
            votes += group[i]->Result.Header.SameSearchAs(other->Result.Header) ? 1 : 0;
        if (votes > bestVotes) {
            best = i;
            bestVotes = votes;
        }
    }
    return group[best]->Result.Header;
}

CMergedSearch MergeGroup(const std::vector<const CShardInput*>& group)
{
    const CShardHeader& reference = Reference(group);
    for (const CShardInput* input : group)
        if (const std::string why = Difference(input->Result.Header, reference); !why.empty())
            Refuse(Describe(*input) + " does not belong to the search of " + reference.UnknownPath + ": " + why);

    const int n = reference.Shard.Count;
    for (const CShardInput* input : group) {
        const bool shardInRange = input->Result.Header.Shard.Index >= 0 && input->Result.Header.Shard.Index < n;
        for (const CShardRow& row : input->Result.Rows)
            if (!shardInRange || row.Cells.empty() || row.Index < 0 || row.Index >= reference.EntryCount)
                Refuse(Describe(*input) + " is damaged: a row without cells or beyond the library's entries");
    }
    std::vector<const CShardInput*> byIndex(static_cast<std::size_t>(n), nullptr);
    for (const CShardInput* input : group) {
        const CShardInput*& slot = byIndex[static_cast<std::size_t>(input->Result.Header.Shard.Index)];
        if (slot)
            Refuse(FormatC("shard %d/%d of %s is given twice: %s and %s", input->Result.Header.Shard.Index, n,
                           reference.UnknownPath.c_str(), slot->Path.c_str(), input->Path.c_str()));
        slot = input;
    }
    for (int k = 0; k < n; ++k)
        if (!byIndex[static_cast<std::size_t>(k)])
            Refuse(FormatC("shard %d/%d of %s is missing", k, n, reference.UnknownPath.c_str()));

    long long total = 0;
    for (const CShardInput* input : byIndex) {
        total += static_cast<long long>(input->Result.Rows.size());
        for (const CShardRow& row : input->Result.Rows)
            if (ShardOfEntry(RelativeEntryPath(row.Cells.front()), n) != input->Result.Header.Shard.Index)
                Refuse(Describe(*input) + " holds the row of " + row.Cells.front() + ", which belongs to shard " +
                       std::to_string(ShardOfEntry(RelativeEntryPath(row.Cells.front()), n)));
    }
    if (total != reference.EntryCount)
        Refuse(FormatC("the shards of %s hold %lld rows for %lld library entries", reference.UnknownPath.c_str(), total,
                       reference.EntryCount));

    CMergedSearch merged;
    merged.Header = reference;
    merged.Header.Shard.Index = 0;
    merged.Rows.resize(static_cast<std::size_t>(total));
    std::vector<const CShardInput*> owner(static_cast<std::size_t>(total), nullptr);
    for (const CShardInput* input : byIndex) {
        merged.ShardPaths.push_back(input->Path);
        for (const CShardRow& row : input->Result.Rows) {
            const auto index = static_cast<std::size_t>(row.Index); // below EntryCount (checked above)
            if (owner[index])
                Refuse(Describe(*input) + FormatC(" holds a row for entry index %lld, as ", row.Index) +
                       Describe(*owner[index]) + " does");
            owner[index] = input;
            merged.Rows[index] = row.Cells;
        }
    }
    CSha256 list;
    for (const std::vector<std::string>& row : merged.Rows) {
        list.Update(RelativeEntryPath(row.front()));
        list.Update("\n");
    }
    if (list.FinishHex() != reference.EntryListSha256)
        Refuse("the rows of the shards of " + reference.UnknownPath +
               " do not make up the library list they were made from");
    return merged;
}

// A name with ".shard-" in it, but not the temporary file of a writer that was killed before its rename
// ("<name>.shard-1-of-4.tmp<pid>-<n>").
bool IsShardFileName(const std::string& name)
{
    const std::size_t at = name.rfind(".shard-");
    return at != std::string::npos && name.find(".tmp", at) == std::string::npos;
}

} // namespace

std::vector<std::string> ShardFilesOf(const std::vector<std::string>& paths)
{
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        std::error_code ec;
        if (fs::is_regular_file(path, ec)) {
            files.push_back(path);
            continue;
        }
        if (!fs::is_directory(path, ec))
            Refuse(path + " is neither a shard file nor a folder of them");
        std::vector<std::string> found;
        for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec))
            if (IsShardFileName(it->path().filename().string()) && it->is_regular_file(ec))
                found.push_back(it->path().string());
        if (found.empty())
            Refuse("the folder " + path + " holds no shard files (\"*.shard-<k>-of-<n>\")");
        std::sort(found.begin(), found.end());
        files.insert(files.end(), found.begin(), found.end());
    }
    return files;
}

std::vector<CMergedSearch> MergeShardFiles(const std::vector<std::string>& files)
{
    std::vector<CShardInput> inputs;
    for (const std::string& file : files) {
        try {
            inputs.push_back({file, ReadShardFile(file)});
        } catch (const CUserException& e) {
            Refuse(e.what());
        }
    }
    return MergeShardResults(std::move(inputs));
}

std::vector<CMergedSearch> MergeShardResults(std::vector<CShardInput> inputs)
{
    if (inputs.empty())
        Refuse("no shard files were given");
    std::vector<std::string> unknowns; // in order of first appearance
    std::map<std::string, std::vector<const CShardInput*>> groups;
    for (const CShardInput& input : inputs) {
        auto& group = groups[input.Result.Header.UnknownPath];
        if (group.empty())
            unknowns.push_back(input.Result.Header.UnknownPath);
        group.push_back(&input);
    }
    std::vector<CMergedSearch> merged;
    for (const std::string& unknown : unknowns)
        merged.push_back(MergeGroup(groups[unknown]));
    return merged;
}

CLibrarySearchResult MergedSearchResult(const CMergedSearch& merged)
{
    CLibrarySearchResult result;
    result.End = merged.Header.TooManyPeaks ? LibrarySearchEnd::UnknownTooManyPeaks : LibrarySearchEnd::Completed;
    result.FailureText = merged.Header.FailureText;
    result.Unknown.SampleName = merged.Header.SampleName;
    result.Unknown.PeakCountText = merged.Header.PeakCountText;
    result.EntryCount = static_cast<int>(merged.Rows.size());
    result.RowCount = result.EntryCount;
    return result;
}

void FinishMergedHitList(const CMergedSearch& merged, CReportTable& hits, const TextMeasure& measure)
{
    SetUpHitListColumns(hits);
    for (const std::vector<std::string>& row : merged.Rows)
        hits.AddRow(row);
    FinishHitList(MergedSearchResult(merged), merged.Header.UnknownPath, hits, measure);
}

CSearchReport MergedReport(const CMergedSearch& merged)
{
    CSearchReport report;
    report.UnknownPath = merged.Header.UnknownPath;
    report.SampleName = merged.Header.SampleName;
    report.PeakCountText = merged.Header.PeakCountText;
    report.LibraryFolder = merged.Header.LibraryFolder;
    return report;
}

std::string MergedReportText(const CMergedSearch& merged, const CReportTable& hits)
{
    std::string parameters;
    for (const std::string& line : merged.Header.ParameterLines)
        parameters += line + "\n";
    return SearchReportText(MergedReport(merged), parameters, hits);
}

} // namespace corvelin
