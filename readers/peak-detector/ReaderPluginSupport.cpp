#include "readers/peak-detector/ReaderPluginSupport.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <new>

#include "readers/peak-detector/ChromatogramBuilder.h"
#include "readers/peak-detector/PeakDetector.h"
#include "readers/peak-detector/RunReadError.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/PluginInterface.h"

namespace corvelin {

std::optional<CRunCache::Stamp> CRunCache::StampOf(const std::string& path)
{
    std::error_code ec;
    Stamp stamp;
    stamp.size = std::filesystem::file_size(path, ec);
    if (ec)
        return std::nullopt;
    stamp.time = std::filesystem::last_write_time(path, ec);
    if (ec)
        return std::nullopt;
    return stamp;
}

void CRunCache::Put(const std::string& path, CScanRun run)
{
    const auto stamp = StampOf(path);
    std::lock_guard lock(m_mutex);
    m_run.reset();
    if (!stamp)
        return;
    m_path = path;
    m_stamp = *stamp;
    m_run = std::move(run);
}

std::optional<CScanRun> CRunCache::Take(const std::string& path)
{
    const auto stamp = StampOf(path);
    std::lock_guard lock(m_mutex);
    std::optional<CScanRun> run;
    if (m_run && stamp && path == m_path && *stamp == m_stamp)
        run = std::move(m_run);
    m_run.reset();
    return run;
}

int ReaderIsFileReadable(const RunParser& parse, CRunCache& cache, const char* path, int showMessages)
{
    if (!path)
        return EINVAL;
    int code = 0;
    std::string reason;
    try {
        cache.Put(path, parse(path));
        return 0;
    } catch (const CFormatException& e) {
        code = e.Code();
        reason = e.what();
    } catch (const std::bad_alloc&) {
        code = ENOMEM;
        reason = "Not enough memory to read the file.";
    } catch (const std::exception& e) {
        code = EIO;
        reason = e.what();
    }
    if (showMessages) {
        try {
            ShowMessage(std::string("Cannot read '") + path + "':\n" + reason, "File Read Error", MessageIcon::Stop);
        } catch (...) {
        }
    }
    return code != 0 ? code : EIO;
}

int ReaderReadFromDataSystem(const RunParser& parse, CRunCache& cache, const std::string& settingsSection,
                             const char* path, CLibraryChromatogram* chromatogram, double minAreaPercent,
                             std::string* errorText)
{
    const auto fail = [&](int code, const std::string& reason) {
        if (errorText)
            *errorText = reason;
        return code != 0 ? code : EIO;
    };
    if (!path || !chromatogram)
        return fail(EINVAL, "No file or no chromatogram given.");
    try {
        std::optional<CScanRun> cached = cache.Take(path);
        const CScanRun run = cached ? std::move(*cached) : parse(path);
        const CPeakDetectorSettings settings = CPeakDetectorSettings::FromSettings(settingsSection);
        CPeakList list = DetectPeaks(run, settings);
        FilterPeaks(list, minAreaPercent, settings.MaxPeaks);
        FillChromatogram(run, list, *chromatogram);
        return 0;
    } catch (const CFormatException& e) {
        return fail(e.Code(), e.what());
    } catch (const std::bad_alloc&) {
        return fail(ENOMEM, "Not enough memory to read the file.");
    } catch (const std::exception& e) {
        return fail(EIO, e.what());
    }
}

void CopyToPluginBuffer(char* buffer, const std::string& text)
{
    if (!buffer)
        return;
    const std::size_t n = std::min<std::size_t>(text.size(), kPluginBufferSize - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

} // namespace corvelin
