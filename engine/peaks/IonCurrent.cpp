#include "engine/peaks/IonCurrent.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace corvelin {

bool CountsAsIonLine(double mass, double intensity, int maxNominalMass) noexcept
{
    return mass >= 0.5 && mass < maxNominalMass + 0.5 && intensity > 0 && std::isfinite(intensity);
}

std::vector<double> TotalIonCurrent(const CScanRun& run, int maxNominalMass)
{
    std::vector<double> tic(run.ScanCount(), 0.0);
    for (std::size_t s = 0; s < run.ScanCount(); ++s)
        for (std::size_t k = run.ScanBegin(s); k < run.ScanEnd(s); ++k)
            if (CountsAsIonLine(run.Mass(k), run.Intensity(k), maxNominalMass))
                tic[s] += run.Intensity(k);
    return tic;
}

std::vector<double> ExtractedIonCurrent(const CScanRun& run, int nominalMass)
{
    std::vector<double> eic(run.ScanCount(), 0.0);
    for (std::size_t s = 0; s < run.ScanCount(); ++s)
        for (std::size_t k = run.ScanBegin(s); k < run.ScanEnd(s); ++k)
            if (CountsAsIonLine(run.Mass(k), run.Intensity(k), nominalMass) && std::lround(run.Mass(k)) == nominalMass)
                eic[s] += run.Intensity(k);
    return eic;
}

std::vector<int> ParseNominalMasses(const std::string& text, int maxNominalMass)
{
    std::vector<int> masses;
    std::size_t i = 0;
    while (i < text.size() && masses.size() < 8) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        std::size_t end = i;
        long value = 0;
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) {
            value = std::min(value * 10 + (text[end] - '0'), 10000000L);
            ++end;
        }
        // A number glued to other characters ("73x", "1.5") is no mass.
        const bool separated = end == text.size() || std::string(" \t,;").find(text[end]) != std::string::npos;
        const bool startsClean = i == 0 || std::string(" \t,;").find(text[i - 1]) != std::string::npos;
        if (separated && startsClean && value >= 1 && value <= maxNominalMass &&
            std::find(masses.begin(), masses.end(), static_cast<int>(value)) == masses.end())
            masses.push_back(static_cast<int>(value));
        i = end;
        while (i < text.size() && std::string(" \t,;").find(text[i]) == std::string::npos)
            ++i;
    }
    return masses;
}

} // namespace corvelin
