// Data-system plug-in for NIST MSP spectra libraries: the spectra exports of the plug-in interface, for the spectral
// include/exclude list. It reads no chromatograms: IsFileReadable refuses every data file.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "readers/msp/MspParser.h"
#include "engine/platform/MessageSink.h"
#include "engine/plugins/PluginInterface.h"

namespace corvelin {

namespace {

// Spectra libraries larger than this are refused rather than read into memory.
constexpr std::streamoff kMaxFileBytes = 512LL * 1024 * 1024;
// How much of a file IsMassSpecsFileReadable looks at.
constexpr std::size_t kSniffBytes = 64 * 1024;

bool ReadFile(const char* path, std::string& text, std::size_t limit)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || size > kMaxFileBytes)
        return false;
    in.seekg(0);
    text.resize(static_cast<std::size_t>(std::min<std::streamoff>(size, static_cast<std::streamoff>(limit))));
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return true;
}

} // namespace

CORVELIN_PLUGIN_EXPORT int IsFileReadable(const char* /*path*/, int /*showMessages*/)
{
    return ENOTSUP;
}

CORVELIN_PLUGIN_EXPORT void GetMassSpecsReadFilter(std::string* filter, std::string* ending)
{
    *filter = "NIST MSP Spectra (*.msp)|*.msp;*.MSP|";
    *ending = ".msp";
}

CORVELIN_PLUGIN_EXPORT int IsMassSpecsFileReadable(const char* path)
{
    std::string head;
    return ReadFile(path, head, kSniffBytes) && LooksLikeMsp(head) ? 1 : 0;
}

CORVELIN_PLUGIN_EXPORT int ReadMassSpecs(const char* path, PluginMassSpecArray* spectra, PluginStringArray* names)
{
    std::string text;
    if (!ReadFile(path, text, static_cast<std::size_t>(kMaxFileBytes))) {
        ShowMessage(std::string("Could not read the spectra file '") + path + "'.", "MSP Reader", MessageIcon::Stop);
        return 1;
    }
    try {
        std::vector<MspSpectrum> parsed = ParseMsp(text);
        spectra->reserve(spectra->size() + parsed.size());
        names->reserve(names->size() + parsed.size());
        for (MspSpectrum& s : parsed) {
            // Owned here until the array holds it, so a failing copy loses nothing.
            auto spectrum = std::make_unique<CLibraryMassSpectrumData>();
            spectrum->CopyFrom(s.Spectrum);
            spectra->push_back(spectrum.get());
            spectrum.release();
            names->push_back(std::move(s.Name));
        }
        return 0;
    } catch (const std::exception& e) {
        ShowMessage(std::string("The spectra file '") + path + "' is not a valid MSP library:\n" + e.what(),
                    "MSP Reader", MessageIcon::Stop);
        return 1;
    }
}

CORVELIN_PLUGIN_EXPORT void FreeMassSpecs(PluginMassSpecArray* spectra, PluginStringArray* names)
{
    for (CLibraryMassSpectrumData* spectrum : *spectra)
        delete spectrum;
    spectra->clear();
    names->clear();
}

} // namespace corvelin
