#pragma once
// What a shard search writes for one unknown: the shard file's header from the search's request, options and
// outcome, and the file's name when several unknowns write into one folder.
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"
#include "engine/scaleout/ShardFile.h"

namespace corvelin {

class CSearchOptions;
struct CLibraryEntryFile;
struct CLibrarySearchResult;
struct CUnknownsSearchRequest;

// The header of an unknown searched completely (or found to have too many peaks) in a shard search over the
// library scan `entries`.
// @exception CFileException when the unknown file cannot be read for its SHA-256.
CORVELIN_ENGINE_EXPORT CShardHeader ShardHeaderFor(const std::string& unknownPath, const CLibrarySearchResult& result,
                                                   const CUnknownsSearchRequest& request, const CSearchOptions& options,
                                                   const std::vector<CLibraryEntryFile>& entries);

// "<folder>/<unknown's file name>.<FNV-1a 64 of the unknown path as given, 16 hex digits>.shard-<k>-of-<n>": one
// file per unknown and shard, distinct for unknowns of the same name in different folders.
CORVELIN_ENGINE_EXPORT std::string ShardFileNameFor(const std::string& folder, const std::string& unknownPath,
                                                    const CShardSpec& shard);

} // namespace corvelin
