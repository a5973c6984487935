#include "engine/views/SummaryInputs.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <system_error>
#include <utility>

namespace corvelin {

namespace {

using FileId = std::pair<dev_t, ino_t>;

bool IdOf(const std::string& path, FileId& id, struct stat& st)
{
    if (::stat(path.c_str(), &st) != 0)
        return false;
    id = {st.st_dev, st.st_ino};
    return true;
}

} // namespace

CSummaryInputs ResolveSummaryInputs(const std::vector<std::string>& given,
                                    const std::function<bool(const std::string&)>& pluginReads)
{
    CSummaryInputs inputs;
    std::set<FileId> taken;
    const auto add = [&](const std::string& path, const FileId& id) {
        if (taken.insert(id).second)
            inputs.Paths.push_back(path);
    };
    for (const std::string& value : given) {
        FileId id;
        struct stat st {};
        if (!IdOf(value, id, st)) {
            inputs.LeftOut.push_back({value, std::strerror(errno)});
            continue;
        }
        if (!S_ISDIR(st.st_mode)) {
            add(value, id);
            continue;
        }
        std::vector<std::string> files;
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(value, ec))
            if (entry.is_regular_file(ec) && pluginReads(entry.path().filename().string()))
                files.push_back(entry.path().string());
        if (ec)
            inputs.LeftOut.push_back({value, ec.message()});
        std::sort(files.begin(), files.end());
        for (const std::string& file : files)
            if (IdOf(file, id, st))
                add(file, id);
    }
    return inputs;
}

bool IsOneOfTheFiles(const std::string& path, const std::vector<std::string>& files)
{
    FileId target;
    struct stat st {};
    if (!IdOf(path, target, st))
        return false;
    FileId id;
    return std::any_of(files.begin(), files.end(),
                       [&](const std::string& file) { return IdOf(file, id, st) && id == target; });
}

} // namespace corvelin
