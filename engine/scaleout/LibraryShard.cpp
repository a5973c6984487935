#include "engine/scaleout/LibraryShard.h"

#include <cstdlib>

#include "engine/platform/Fnv1a.h"
#include "engine/platform/Sha256.h"
#include "engine/workflow/LibrarySearch.h"

namespace corvelin {

namespace {

std::optional<long> WholeNumber(const std::string& text)
{
    std::size_t begin = text.find_first_not_of(" \t");
    std::size_t end = text.find_last_not_of(" \t");
    if (begin == std::string::npos)
        return std::nullopt;
    const std::string digits = text.substr(begin, end - begin + 1);
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::strtol(digits.c_str(), nullptr, 10);
}

} // namespace

std::optional<CShardSpec> ParseShardSpec(const std::string& text)
{
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos)
        return std::nullopt;
    const auto k = WholeNumber(text.substr(0, slash));
    const auto n = WholeNumber(text.substr(slash + 1));
    if (!k || !n || *n < 1 || *n > kMaxShardCount || *k >= *n)
        return std::nullopt;
    return CShardSpec{static_cast<int>(*k), static_cast<int>(*n)};
}

std::string RelativeEntryPath(std::string_view fileCell)
{
    if (fileCell.substr(0, 2) == "./")
        fileCell.remove_prefix(2);
    return std::string(fileCell);
}

int ShardOfEntry(std::string_view relativePath, int count) noexcept
{
    if (count <= 1)
        return 0;
    return static_cast<int>(Fnv1a64(relativePath) % static_cast<std::uint64_t>(count));
}

std::string EntryListDigest(const std::vector<CLibraryEntryFile>& entries)
{
    CSha256 sha;
    for (const CLibraryEntryFile& entry : entries) {
        sha.Update(RelativeEntryPath(entry.FileCell));
        sha.Update("\n");
    }
    return sha.FinishHex();
}

} // namespace corvelin
