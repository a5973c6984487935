#include "readers/peak-detector/ReaderPluginSupport.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <memory>
#include <new>

#include "readers/peak-detector/ChromatogramBuilder.h"
#include "engine/peaks/IonCurrent.h"
#include "engine/peaks/PeakDetector.h"
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
        const CPeakList list = DetectRunPeaks(run, settings, minAreaPercent);
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

namespace {

// What a module hands over through ReadScanRun: the C view and the arrays it points into.
struct CHandedScanRun {
    CorvelinScanRunData Data{};
    CScanRun Run;
    std::vector<double> Tic;
};

} // namespace

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
    try {
        auto handed = std::make_unique<CHandedScanRun>();
        std::optional<CScanRun> cached = cache.Take(path);
        handed->Run = cached ? std::move(*cached) : parse(path);
        handed->Tic = TotalIonCurrent(handed->Run, CPeakDetectorSettings::FromSettings(settingsSection).MaxNominalMass);
        CorvelinScanRunData& data = handed->Data;
        data.ScanCount = handed->Run.ScanCount();
        data.LineCount = handed->Run.LineCount();
        data.Times = handed->Run.Times().data();
        data.TotalIonCurrent = handed->Tic.data();
        data.ScanOffsets = handed->Run.Offsets().data();
        data.Masses = handed->Run.Masses().data();
        data.Intensities = handed->Run.Intensities().data();
        data.ModuleData = handed.get();
        *run = &handed.release()->Data;
        CopyToPluginBuffer(errorText, "");
        return 0;
    } catch (const CFormatException& e) {
        return fail(e.Code(), e.what());
    } catch (const std::bad_alloc&) {
        return fail(ENOMEM, "Not enough memory to read the file.");
    } catch (const std::exception& e) {
        return fail(EIO, e.what());
    }
}

void ReaderFreeScanRun(CorvelinScanRunData* run) noexcept
{
    if (run)
        delete static_cast<CHandedScanRun*>(run->ModuleData);
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
