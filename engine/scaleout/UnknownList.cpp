#include "engine/scaleout/UnknownList.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "engine/core/Exceptions.h"
#include "engine/plugins/DatasystemPlugins.h"
#include "engine/platform/WholeFile.h"
#include "engine/workflow/CommandLine.h"

namespace fs = std::filesystem;

namespace corvelin {

namespace {

bool IsOwnOutput(const std::string& name)
{
    return name.find(".shard-") != std::string::npos ||
           (name.size() >= 4 && StartsWithKeyword(name.substr(name.size() - 4), ".csv"));
}

} // namespace

std::vector<std::string> UnknownsOf(const std::string& folderOrList)
{
    std::error_code ec;
    std::vector<std::string> paths;
    if (fs::is_directory(folderOrList, ec)) {
        for (fs::directory_iterator it(folderOrList, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            std::error_code typeError;
            if (it->is_regular_file(typeError) && !IsOwnOutput(name) && DatasystemPlugins().AnyMatchesExtension(name))
                paths.push_back((fs::path(folderOrList) / name).string());
        }
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    std::string text;
    if (ReadWholeFile(folderOrList, std::size_t(64) << 20, text) != WholeFileRead::Read)
        throw CUserException("/Unknowns=" + folderOrList + ": neither a folder nor a readable list file");
    for (std::size_t begin = 0; begin < text.size();) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(begin, end - begin);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find_first_not_of(" \t") != std::string::npos)
            paths.push_back(line);
        begin = end + 1;
    }
    return paths;
}

} // namespace corvelin
