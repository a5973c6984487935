#include "readers/peak-detector/ReaderPluginSupport.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <new>

#include "readers/peak-detector/ChromatogramBuilder.h"
#include "engine/peaks/IonCurrent.h"
#include "engine/peaks/PeakDetector.h"
#include "readers/peak-detector/RunReadError.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/PluginInterface.h"
#include "engine/plugins/ScanRunHandOver.h"

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

namespace {

// Runs a read, turning what it throws into the refusal's code and reason (fail(code, reason) returns the code).
template <typename Fail, typename Read> int Guarded(const Fail& fail, const Read& read)
{
    try {
        read();
        return 0;
    } catch (const CFormatException& e) {
        return fail(e.Code(), e.what());
    } catch (const std::bad_alloc&) {
        return fail(ENOMEM, "Not enough memory to read the file.");
    } catch (const std::exception& e) {
        return fail(EIO, e.what());
    }
}

CScanRun ParsedOrCached(const RunParser& parse, CRunCache& cache, const char* path)
{
    std::optional<CScanRun> cached = cache.Take(path);
    return cached ? std::move(*cached) : parse(path);
}

} // namespace

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
    return Guarded(fail, [&] {
        const CScanRun run = ParsedOrCached(parse, cache, path);
        const CPeakDetectorSettings settings = CPeakDetectorSettings::FromSettings(settingsSection);
        FillChromatogram(run, DetectRunPeaks(run, settings, minAreaPercent), *chromatogram);
    });
}

int ReaderReadScanRun(const RunParser& parse, CRunCache& cache, const std::string& settingsSection, const char* path,
                      CorvelinScanRunData** run, char* errorText)
{
    const auto fail = [&](int code, const std::string& reason) {
        CopyToPluginBuffer(errorText, reason);
        return code != 0 ? code : EIO;
    };
    if (!run)
        return fail(EINVAL, "No place for the run given.");
    *run = nullptr;
    if (!path)
        return fail(EINVAL, "No file given.");
    CopyToPluginBuffer(errorText, "");
    return Guarded(fail, [&] {
        CScanRun scans = ParsedOrCached(parse, cache, path);
        std::vector<double> tic =
            TotalIonCurrent(scans, CPeakDetectorSettings::FromSettings(settingsSection).MaxNominalMass);
        *run = HandOverScanRun(std::move(scans), std::move(tic));
    });
}

void ReaderFreeScanRun(CorvelinScanRunData* run) noexcept
{
    ReleaseHandedScanRun(run);
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
