// A sample data-system plug-in: reads ".peaklist" text files (see sample.peaklist) into the program's
// chromatogram record. The file comes from outside: its size is bounded, every number is checked, and any fault
// refuses the whole file with a line number instead of reading part of it.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "engine/core/Exceptions.h"
#include "engine/core/LibraryChromatogram.h"
#include "engine/plugins/PluginInterface.h"

using namespace corvelin;

namespace {

constexpr std::size_t kMaxFileBytes = 16u << 20;
constexpr const char* kDataSystemName = "Sample Peak List";

std::string ReadBoundedFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw CFormatException("Cannot open '" + path + "'.", errno ? errno : ENOENT);
    std::string text(kMaxFileBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxFileBytes)
        throw CFormatException("'" + path + "' is too large for a peak list.", EFBIG);
    return text;
}

double Number(const std::string& word, std::size_t line)
{
    char* end = nullptr;
    const double value = std::strtod(word.c_str(), &end);
    if (word.empty() || *end != '\0' || !std::isfinite(value) || value < 0)
        throw CFormatException("line " + std::to_string(line) + ": '" + word + "' is not a number", EINVAL, line);
    return value;
}

// One peak line: apex, start, end, area, height, then mass:intensity pairs.
void ReadPeak(const std::string& text, std::size_t line, CLibraryChromatogram& chromatogram)
{
    std::istringstream words(text);
    std::string word;
    double fields[5];
    for (double& field : fields) {
        if (!(words >> word))
            throw CFormatException("line " + std::to_string(line) + ": a peak needs RT, start, end, area, height",
                                   EINVAL, line);
        field = Number(word, line);
    }
    CLibraryChromatogramPeakData& peak = chromatogram.AddPeak();
    peak.RT = fields[0];
    peak.StartRT = fields[1];
    peak.EndRT = fields[2];
    peak.Area = fields[3];
    peak.Height = fields[4];
    peak.RI = -1;
    double largest = 0;
    while (words >> word) {
        const std::size_t colon = word.find(':');
        if (colon == std::string::npos)
            throw CFormatException("line " + std::to_string(line) + ": '" + word + "' is not mass:intensity", EINVAL,
                                   line);
        const double mass = Number(word.substr(0, colon), line);
        const double intensity = Number(word.substr(colon + 1), line);
        if (mass < 1 || (peak.Spectrum.GetCount() > 0 && mass <= peak.Spectrum.Points().back().Mass))
            throw CFormatException("line " + std::to_string(line) + ": masses must ascend from 1", EINVAL, line);
        peak.Spectrum.Append(CLibraryMassSpectrumPoint(mass, intensity));
        largest = std::max(largest, intensity);
    }
    for (CLibraryMassSpectrumPoint& point : peak.Spectrum.Points())
        point.Intensity = largest > 0 ? point.Intensity * 100.0 / largest : 0.0;
    peak.Spectrum.ApplyWeighting();
    chromatogram.TotalArea += peak.Area;
    chromatogram.TotalHeight += peak.Height;
}

void ReadPeakList(const std::string& path, double minAreaPercent, CLibraryChromatogram& chromatogram)
{
    std::istringstream lines(ReadBoundedFile(path));
    std::string text;
    std::size_t line = 0;
    bool titled = false;
    while (std::getline(lines, text)) {
        ++line;
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (text.empty() || text[0] == '#')
            continue;
        if (!titled) {
            if (text.rfind("SAMPLE", 0) != 0)
                throw CFormatException("'" + path + "' is not a peak list (no SAMPLE line).", EINVAL, line);
            chromatogram.SampleName = text.size() > 7 ? text.substr(7) : std::string();
            titled = true;
            continue;
        }
        ReadPeak(text, line, chromatogram);
    }
    if (!titled)
        throw CFormatException("'" + path + "' is not a peak list (no SAMPLE line).");
    if (minAreaPercent > 0) {
        const double limit = chromatogram.TotalArea * minAreaPercent / 100.0;
        std::erase_if(chromatogram.Peaks, [limit](const auto& peak) { return peak->Area < limit; });
    }
    chromatogram.PeakCount = static_cast<int>(chromatogram.Peaks.size());
    chromatogram.DataFile = path;
}

} // namespace

CORVELIN_PLUGIN_EXPORT int IsFileReadable(const char* path, int /*showMessages*/)
{
    if (!path)
        return EINVAL;
    try {
        CLibraryChromatogram probe;
        ReadPeakList(path, 0, probe);
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
        ReadPeakList(path, minAreaPercent, *chromatogram);
        return 0;
    } catch (const std::exception& e) {
        chromatogram->Clear();
        if (errorText)
            *errorText = e.what();
        return 1;
    }
}

CORVELIN_PLUGIN_EXPORT void GetDataSystemName(char* name)
{
    std::snprintf(name, kPluginBufferSize, "%s", kDataSystemName);
}
