// A sample raw-data plug-in: reads ".scanlist" text files (see sample.scanlist: one scan a line, its time in
// minutes and its mass:intensity pairs), finds the peaks with the program's own detector and hands the scans over
// through the optional scan-run export, so the program plots the run's TIC with its peaks marked and detects again
// when its settings change. Like every reader it treats the file as hostile: bounded size, checked numbers.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/Exceptions.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/peaks/IonCurrent.h"
#include "engine/peaks/PeakDetector.h"
#include "engine/plugins/PluginInterface.h"
#include "engine/plugins/ScanRunHandOver.h"

using namespace corvelin;

namespace {

constexpr std::size_t kMaxFileBytes = 64u << 20;
std::string g_section; // where the program keeps this module's detector settings ("Plugins\<key>")

double Number(const std::string& word, std::size_t line)
{
    char* end = nullptr;
    const double value = std::strtod(word.c_str(), &end);
    if (word.empty() || *end != '\0' || !std::isfinite(value) || value < 0)
        throw CFormatException("line " + std::to_string(line) + ": '" + word + "' is not a number", EBADMSG, line);
    return value;
}

CScanRun ReadScanList(const std::string& path, std::string& sampleName)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw CFormatException("Cannot open '" + path + "'.", errno ? errno : ENOENT);
    std::string text(kMaxFileBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxFileBytes)
        throw CFormatException("'" + path + "' is too large for a scan list.", EFBIG);
    std::istringstream lines(text);
    CScanRun run;
    std::size_t line = 0;
    bool titled = false;
    while (std::getline(lines, text)) {
        ++line;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (text.empty() || text[0] == '#')
            continue;
        if (!titled) {
            if (text.rfind("SCANS", 0) != 0)
                throw CFormatException("'" + path + "' is not a scan list (no SCANS line).", EMEDIUMTYPE, line);
            sampleName = text.size() > 6 ? text.substr(6) : std::string();
            titled = true;
            continue;
        }
        std::istringstream words(text);
        std::string word;
        words >> word;
        const double time = Number(word, line);
        if (run.ScanCount() > 0 && time < run.Time(run.ScanCount() - 1))
            throw CFormatException("line " + std::to_string(line) + ": scan times must ascend", EBADMSG, line);
        run.AddScan(time);
        while (words >> word) {
            const std::size_t colon = word.find(':');
            if (colon == std::string::npos)
                throw CFormatException("line " + std::to_string(line) + ": '" + word + "' is not mass:intensity",
                                       EBADMSG, line);
            run.AddLine(Number(word.substr(0, colon), line), Number(word.substr(colon + 1), line));
        }
    }
    if (run.ScanCount() < 2)
        throw CFormatException("'" + path + "' is not a scan list (fewer than two scans).", EMEDIUMTYPE);
    return run;
}

// The detected peaks as the program's chromatogram record: times, area, height and the apex spectrum.
void Fill(const CPeakList& list, CLibraryChromatogram& chromatogram)
{
    chromatogram.TotalArea = list.TotalArea;
    chromatogram.TotalHeight = list.TotalHeight;
    for (const CDetectedPeak& detected : list.Peaks) {
        CLibraryChromatogramPeakData& peak = chromatogram.AddPeak();
        peak.RT = detected.RT;
        peak.StartRT = detected.StartRT;
        peak.EndRT = detected.EndRT;
        peak.Area = detected.Area;
        peak.Height = detected.Height;
        peak.RI = -1;
        for (const auto& [mass, percent] : detected.Spectrum)
            peak.Spectrum.Append(CLibraryMassSpectrumPoint(mass, percent));
        peak.Spectrum.ApplyWeighting();
    }
    chromatogram.PeakCount = static_cast<int>(chromatogram.Peaks.size());
}

} // namespace

CORVELIN_PLUGIN_EXPORT void SetRegistryPath(char* section)
{
    g_section = section ? section : "";
}

CORVELIN_PLUGIN_EXPORT int IsFileReadable(const char* path, int /*showMessages*/)
{
    try {
        std::string name;
        ReadScanList(path ? path : "", name);
        return 0;
    } catch (const CFormatException& e) {
        return e.Code();
    } catch (const std::exception&) {
        return EIO;
    }
}

CORVELIN_PLUGIN_EXPORT int ReadFromDataSystem(const char* path, CLibraryChromatogram* chromatogram,
                                              double minAreaPercent, std::string* errorText)
{
    if (!path || !chromatogram)
        return EINVAL;
    try {
        const CScanRun run = ReadScanList(path, chromatogram->SampleName);
        // The program's detector with the settings it keeps for this module: what it marks on the run.
        const CPeakDetectorSettings settings = CPeakDetectorSettings::FromSettings(g_section);
        Fill(DetectRunPeaks(run, settings, minAreaPercent), *chromatogram);
        chromatogram->DataFile = path;
        return 0;
    } catch (const std::exception& e) {
        chromatogram->Clear();
        if (errorText)
            *errorText = e.what();
        return 1;
    }
}

CORVELIN_PLUGIN_EXPORT int ReadScanRun(const char* path, CorvelinScanRunData** run, char* errorText)
{
    if (!run || !path)
        return EINVAL;
    *run = nullptr;
    try {
        std::string name;
        CScanRun scans = ReadScanList(path, name);
        std::vector<double> tic = TotalIonCurrent(scans, CPeakDetectorSettings::FromSettings(g_section).MaxNominalMass);
        // The engine packs the run into the C view; this module's FreeScanRun gives it back.
        *run = HandOverScanRun(std::move(scans), std::move(tic));
        return 0;
    } catch (const std::exception& e) {
        if (errorText)
            std::snprintf(errorText, kPluginBufferSize, "%s", e.what());
        const auto* format = dynamic_cast<const CFormatException*>(&e);
        return format && format->Code() != 0 ? format->Code() : EIO;
    }
}

CORVELIN_PLUGIN_EXPORT void FreeScanRun(CorvelinScanRunData* run)
{
    ReleaseHandedScanRun(run);
}

CORVELIN_PLUGIN_EXPORT void GetDataSystemName(char* name)
{
    std::snprintf(name, kPluginBufferSize, "Sample Scan List");
}
