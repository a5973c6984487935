#pragma once
// Library shards: a search of "shard k of n" compares the unknown only with the entries whose path relative to
// the library folder hashes to k under FNV-1a 64 (engine/platform/Fnv1a.h) of that path's bytes, modulo n. The
// assignment depends on nothing but the path, so every machine agrees on it and a growing library moves only
// its new entries' rows.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

struct CLibraryEntryFile;

struct CORVELIN_ENGINE_EXPORT CShardSpec {
    int Index = 0; // k, 0 <= k < Count
    int Count = 1; // n
    bool operator==(const CShardSpec&) const = default;
};

inline constexpr int kMaxShardCount = 100000;

// "k/n" with whole numbers 0 <= k < n <= kMaxShardCount (blanks around the numbers allowed); nullopt otherwise.
CORVELIN_ENGINE_EXPORT std::optional<CShardSpec> ParseShardSpec(const std::string& text);

// The entry's path relative to the library folder ("sub/a.ChromLibEntry"), from the "File" cell its rows start
// with ("./sub/a.ChromLibEntry", or the bare name in the folder itself).
CORVELIN_ENGINE_EXPORT std::string RelativeEntryPath(std::string_view fileCell);

// The shard a relative entry path belongs to among count shards: Fnv1a64(path) % count.
CORVELIN_ENGINE_EXPORT int ShardOfEntry(std::string_view relativePath, int count) noexcept;

// SHA-256 of the scan's relative entry paths in scan order, each followed by "\n": the fingerprint of the whole
// library scan that every shard of one search must agree on.
CORVELIN_ENGINE_EXPORT std::string EntryListDigest(const std::vector<CLibraryEntryFile>& entries);

} // namespace corvelin
