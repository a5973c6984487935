#include "readers/amdis-elu/AmdisFiles.h"

#include <cerrno>
#include <cstdio>

#include "readers/amdis-elu/EluParser.h"
#include "readers/amdis-elu/MslParser.h"

namespace corvelin {

namespace amdis {

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
