#include "readers/amdis-elu/AmdisFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "readers/amdis-elu/EluParser.h"
#include "readers/amdis-elu/MslParser.h"

namespace corvelin {

namespace amdis {

namespace {

std::string OpenErrorText(const std::string& path, int err)
{
    return "Cannot open '" + path + "': " + std::strerror(err);
}

} // namespace

std::string ReadFileHead(const std::string& path, std::size_t maxBytes)
{
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int err = errno != 0 ? errno : ENOENT;
        throw FileError(err, OpenErrorText(path, err));
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

std::string ReadWholeFile(const std::string& path)
{
    std::string text = ReadFileHead(path, kMaxFileBytes + 1);
    if (text.size() > kMaxFileBytes)
        throw FileError(EFBIG, "'" + path + "' is too large for an AMDIS file.");
    return text;
}

int CheckEluFile(const std::string& path) noexcept
{
    try {
        return LooksLikeElu(ReadFileHead(path, kHeadBytes)) ? 0 : EINVAL;
    } catch (const FileError& error) {
        return error.Code();
    } catch (...) {
        return EIO;
    }
}

void ReadEluFile(const std::string& path, const EluReadOptions& options, CLibraryChromatogram& chromatogram)
{
    const std::string text = ReadWholeFile(path);
    if (!LooksLikeElu(std::string_view(text).substr(0, kHeadBytes)))
        throw FileError(EINVAL, "'" + path + "' is not an AMDIS ELU file.");
    FillChromatogram(ParseElu(text), options, path, chromatogram);
}

bool IsSpectraFile(const std::string& path) noexcept
{
    try {
        const std::string head = ReadFileHead(path, kHeadBytes);
        return LooksLikeMsl(head) || LooksLikeElu(head);
    } catch (...) {
        return false;
    }
}

std::vector<std::string> ReadSpectraFile(const std::string& path, bool keepFlaggedLines,
                                         std::vector<std::unique_ptr<CLibraryMassSpectrumData>>& spectra,
                                         std::vector<std::string>& names)
{
    std::vector<std::string> skipped;
    const std::string text = ReadWholeFile(path);
    std::vector<std::unique_ptr<CLibraryMassSpectrumData>> newSpectra;
    std::vector<std::string> newNames;
    if (LooksLikeElu(std::string_view(text).substr(0, kHeadBytes))) {
        const EluFile file = ParseElu(text);
        for (const EluComponent& c : file.components) {
            auto spectrum = std::make_unique<CLibraryMassSpectrumData>();
            BuildSpectrum(c.pairs, keepFlaggedLines, *spectrum);
            char name[96];
            std::snprintf(name, sizeof name, "RT %.4f min, component %d", c.rt.value_or(0.0), c.number.value_or(0));
            newSpectra.push_back(std::move(spectrum));
            newNames.emplace_back(name);
        }
    } else {
        // An MSL library: its lines carry no flags, so every line counts.
        MslFile file = ParseMsl(text);
        for (MslEntry& e : file.entries) {
            auto spectrum = std::make_unique<CLibraryMassSpectrumData>();
            BuildSpectrum(e.pairs, true, *spectrum);
            newSpectra.push_back(std::move(spectrum));
            newNames.push_back(std::move(e.name));
        }
        skipped = std::move(file.skipped);
    }
    for (auto& s : newSpectra)
        spectra.push_back(std::move(s));
    for (auto& n : newNames)
        names.push_back(std::move(n));
    return skipped;
}

} // namespace amdis

} // namespace corvelin
