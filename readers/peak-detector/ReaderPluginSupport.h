#pragma once
// What the raw-data reader modules have in common behind their exports: refusing a file with a code (and,
// when asked, a message), and reading a run into the exchange chromatogram with the shared peak detector.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "engine/core/LibraryChromatogram.h"
#include "engine/peaks/ScanRun.h"
#include "engine/plugins/PluginInterface.h"

namespace corvelin {

// Parses a data file into a run; throws CRunReadError when the file is refused.
using RunParser = std::function<CScanRun(const std::string& path)>;

// The run IsFileReadable parsed last, kept for the ReadFromDataSystem call that follows it, so a file is parsed
// once per read. It is taken only when the file's size and modification time are unchanged. Thread-safe.
class CRunCache {
public:
    void Put(const std::string& path, CScanRun run);
    // The cached run of path (and the cache is emptied), or nothing.
    std::optional<CScanRun> Take(const std::string& path);

private:
    struct Stamp {
        std::uintmax_t size = 0;
        std::filesystem::file_time_type time{};
        bool operator==(const Stamp&) const = default;
    };
    static std::optional<Stamp> StampOf(const std::string& path);

    std::mutex m_mutex;
    std::string m_path;
    Stamp m_stamp;
    std::optional<CScanRun> m_run;
};

// IsFileReadable: 0 when parse accepts path, otherwise the refusal's errno-style code. With showMessages set
// the refusal's reason is shown (caption "File Read Error"). Never throws.
int ReaderIsFileReadable(const RunParser& parse, CRunCache& cache, const char* path, int showMessages);

// ReadFromDataSystem: parses path (or takes its run from the cache), detects peaks with the settings of
// settingsSection, filters by minAreaPercent and fills chromatogram. 0 on success; otherwise non-zero with the reason
// in *errorText. Never throws.
int ReaderReadFromDataSystem(const RunParser& parse, CRunCache& cache, const std::string& settingsSection,
                             const char* path, CLibraryChromatogram* chromatogram, double minAreaPercent,
                             std::string* errorText);

// ReadScanRun: parses path (or takes its run from the cache) and hands it over with its total-ion current (the
// detector's, with the MaxNominalMass of settingsSection). 0 on success; otherwise the refusal's code with the
// reason in errorText (kPluginBufferSize characters, may be null) and *run null. Never throws.
int ReaderReadScanRun(const RunParser& parse, CRunCache& cache, const std::string& settingsSection, const char* path,
                      CorvelinScanRunData** run, char* errorText);
// FreeScanRun: releases what ReaderReadScanRun handed over (null is allowed).
void ReaderFreeScanRun(CorvelinScanRunData* run) noexcept;

// Copies text into a plug-in buffer of kPluginBufferSize characters (truncated, always terminated).
void CopyToPluginBuffer(char* buffer, const std::string& text);

} // namespace corvelin
