#include "engine/scaleout/ShardOutput.h"

#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/Fnv1a.h"
#include "engine/platform/Sha256.h"
#include "engine/scaleout/SearchFingerprint.h"
#include "engine/scaleout/UnknownsSearch.h"
#include "engine/workflow/CommandLine.h"
#include "engine/workflow/SearchParameterText.h"

namespace corvelin {

CShardHeader ShardHeaderFor(const std::string& unknownPath, const CLibrarySearchResult& result,
                            const CUnknownsSearchRequest& request, const CSearchOptions& options,
                            const std::vector<CLibraryEntryFile>& entries)
{
    CShardHeader h;
    h.Program = ShardProgramText();
    h.Shard = request.Shard;
    h.UnknownSha256 = Sha256HexOfFile(unknownPath);
    h.UnknownPath = unknownPath;
    h.SampleName = result.Unknown.SampleName;
    h.PeakCountText = result.Unknown.PeakCountText;
    h.LibraryFolder = request.LibraryFolder;
    h.TooManyPeaks = result.End == LibrarySearchEnd::UnknownTooManyPeaks;
    h.FailureText = h.TooManyPeaks ? result.FailureText : std::string();
    h.MaxPeaks = request.MaxPeaks;
    h.Subfolders = options.SearchSubfolders != 0 ? 1 : 0;
    h.OptionsSha256 = SearchOptionsDigest(options);
    const std::string parameters = SearchParameterText(options);
    for (std::size_t begin = 0; begin < parameters.size();) {
        const std::size_t end = parameters.find('\n', begin);
        h.ParameterLines.push_back(parameters.substr(begin, end - begin));
        begin = end == std::string::npos ? parameters.size() : end + 1;
    }
    // A search that stops at the unknown lists no library (as a search of it alone).
    static const std::vector<CLibraryEntryFile> kNone;
    const std::vector<CLibraryEntryFile>& scan = h.TooManyPeaks ? kNone : entries;
    h.EntryCount = static_cast<long long>(scan.size());
    h.EntryListSha256 = EntryListDigest(scan);
    return h;
}

std::string ShardFileNameFor(const std::string& folder, const std::string& unknownPath, const CShardSpec& shard)
{
    const std::size_t slash = unknownPath.find_last_of('/');
    const std::string name = slash == std::string::npos ? unknownPath : unknownPath.substr(slash + 1);
    return WithTrailingSeparator(folder) + name +
           FormatC(".%016llx.shard-%d-of-%d", static_cast<unsigned long long>(Fnv1a64(unknownPath)), shard.Index,
                   shard.Count);
}

} // namespace corvelin
