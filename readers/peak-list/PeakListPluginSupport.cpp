#include "readers/peak-list/PeakListPluginSupport.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <fstream>
#include <sys/stat.h>

#include "engine/platform/MessageSink.h"

namespace corvelin {

namespace peaklist {

void FinishPeakList(CLibraryChromatogram& chromatogram, double totalArea, double totalHeight,
                    const std::string& dataFile)
{
    chromatogram.TotalArea = totalArea;
    chromatogram.TotalHeight = totalHeight;
    chromatogram.DataFile = dataFile;
    chromatogram.SampleName = std::filesystem::path(dataFile).stem().string();
    chromatogram.NumberPeaks();
}

std::string ReadFileHead(const std::string& path, std::size_t maxBytes)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        const int err = errno;
        throw FileError(err, "Cannot open '" + path + "': " + std::strerror(err));
    }
    if (S_ISDIR(info.st_mode))
        throw FileError(EISDIR, "'" + path + "' is a folder.");
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int err = errno != 0 ? errno : EACCES;
        throw FileError(err, "Cannot open '" + path + "': " + std::strerror(err));
    }
    std::string text;
    char buffer[65536];
    while (text.size() < maxBytes && in) {
        in.read(buffer, static_cast<std::streamsize>(std::min(sizeof buffer, maxBytes - text.size())));
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad())
        throw FileError(EIO, "Cannot read '" + path + "'.");
    return text;
}

int IsFileReadableExport(const char* path, int showMessages,
                         const std::function<int(const std::string& path, std::string& reason)>& check) noexcept
{
    if (path == nullptr)
        return EINVAL;
    std::string reason;
    int code = EIO;
    try {
        code = check(path, reason);
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    } catch (...) {
        return EIO;
    }
    if (code != 0 && showMessages != 0) {
        try {
            ShowMessage(reason.empty() ? "Cannot open '" + std::string(path) + "': " + std::strerror(code) : reason,
                        "File Read Error", MessageIcon::Exclamation);
        } catch (...) {
        }
    }
    return code;
}

int FailedRead(CLibraryChromatogram* chromatogram, std::string* errorText, const std::string& text, int code) noexcept
{
    try {
        if (chromatogram != nullptr)
            chromatogram->Clear();
        if (errorText != nullptr)
            *errorText = text;
    } catch (...) {
    }
    return code;
}

} // namespace peaklist

} // namespace corvelin
