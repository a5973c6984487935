#pragma once
// The merge of library shard results into the search one machine would have made: every shard of an unknown
// present exactly once and agreeing on the search, the rows placed by their scan index, then the hit list and
// the CSV report finished by the same code as a one-machine search (FinishHitList, SearchReportText), so the
// report is byte-identical to it. The library itself is not needed.
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/core/Exceptions.h"
#include "engine/scaleout/ShardFile.h"
#include "engine/workflow/HitList.h"
#include "engine/workflow/LibrarySearch.h"
#include "engine/workflow/SearchReport.h"

namespace corvelin {

class CReportTable;

// A refused merge; the text names the shard file (or the missing shard) and why.
class CORVELIN_ENGINE_EXPORT CShardMergeRefused : public CUserException {
public:
    explicit CShardMergeRefused(const std::string& what) : CUserException(what) {}
};

struct CORVELIN_ENGINE_EXPORT CShardInput {
    std::string Path;
    CShardResult Result;
};

// One unknown's search put together from its shards.
struct CORVELIN_ENGINE_EXPORT CMergedSearch {
    CShardHeader Header;                        // the shards' common header (shard index 0)
    std::vector<std::vector<std::string>> Rows; // in the one-machine scan order
    std::vector<std::string> ShardPaths;        // by shard index
};

// The shard files given: a file as it is, a folder as its files whose names contain ".shard-" (sorted), less
// the temporary files a killed writer can leave ("....tmp<pid>-<n>").
// @exception CShardMergeRefused when a path is neither a file nor a folder, or a folder holds no shard file.
CORVELIN_ENGINE_EXPORT std::vector<std::string> ShardFilesOf(const std::vector<std::string>& paths);

// Reads the files (see ReadShardFile) and merges them.
// @exception CShardMergeRefused when a file cannot be read or is no shard result file (foreign), or see
// MergeShardResults.
CORVELIN_ENGINE_EXPORT std::vector<CMergedSearch> MergeShardFiles(const std::vector<std::string>& files);

// Groups the shards by unknown path (one merged search each, in the order the unknowns first appear) and checks
// each group: every header agrees with the group's (the one most of its files carry) on the program, the shard
// count, the unknown's SHA-256 and texts, the library folder, the options, MaxPeaks, Subfolders and the library
// scan; each shard index 0 ... n-1 appears exactly once; every row belongs to its shard by the hash of its entry
// path; and the rows of all shards cover the whole scan, their entry paths in index order giving the scan's
// digest. Nothing is merged unless every group passes.
// @exception CShardMergeRefused naming the first offending file or missing shard.
CORVELIN_ENGINE_EXPORT std::vector<CMergedSearch> MergeShardResults(std::vector<CShardInput> inputs);

// How the search ended, as SearchLibrary would have returned it.
CORVELIN_ENGINE_EXPORT CLibrarySearchResult MergedSearchResult(const CMergedSearch& merged);

// The finished hit list: the hit list's columns (SetUpHitListColumns), the rows in scan order, FinishHitList.
CORVELIN_ENGINE_EXPORT void FinishMergedHitList(const CMergedSearch& merged, CReportTable& hits,
                                                const TextMeasure& measure = {});

// The report record and text of the finished hit list.
CORVELIN_ENGINE_EXPORT CSearchReport MergedReport(const CMergedSearch& merged);
CORVELIN_ENGINE_EXPORT std::string MergedReportText(const CMergedSearch& merged, const CReportTable& hits);

} // namespace corvelin
