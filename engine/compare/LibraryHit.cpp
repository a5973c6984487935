#include "engine/compare/LibraryHit.h"

#include <array>
#include <cstdio>
#include <vector>

#include "engine/options/SearchOptions.h"

namespace corvelin {

void CLibraryHit::SetReverseFrom(const CLibraryHit& reverse) noexcept
{
    ReverseOverall = reverse.Overall;
    ReverseMSAverage = reverse.MSAverage;
    ReverseRTAverage = reverse.RTAverage;
    ReverseRIAverage = reverse.RIAverage;
    ReverseAreaAverage = reverse.AreaAverage;
    ReverseHeightAverage = reverse.HeightAverage;
    ReverseMatchedPeaks = reverse.MatchedPeaks;
    ReverseConsideredPeaks = reverse.ConsideredPeaks;
}

namespace {

std::string FactorLine(bool on, const char* format, double average, const char* ignored)
{
    if (!on)
        return ignored;
    char buffer[512]; // enough for any double with three decimals
    std::snprintf(buffer, sizeof buffer, format, average);
    return buffer;
}

// The five factor lines of one hit's forward block, in the order MS, RT, RI, area, height.
std::array<std::string, 5> FactorLines(const CLibraryHit& hit, const CSearchOptions& options)
{
    return {FactorLine(options.MSMatching, "MS match = %.3f", hit.MSAverage, "MS ignored"),
            FactorLine(options.RTMatching, "RT match = %.3f", hit.RTAverage, "RT ignored"),
            FactorLine(options.RIMatching, "RI match = %.3f", hit.RIAverage, "RI ignored"),
            FactorLine(options.AreaMatching, "Ar match = %.3f", hit.AreaAverage, "Area % ignored"),
            FactorLine(options.HeightMatching, "Ht match = %.3f", hit.HeightAverage, "Height % ignored")};
}

} // namespace

std::string MatchDetailsText(const CLibraryHit& forward, const CLibraryHit& reverse, int thisPeakCount,
                             int otherPeakCount, const CSearchOptions& options)
{
    static const char* const Template =
        "<h2>Overall Details</h2><br><br><table border=1><tr><td><b>Forward Match Data:</b><br>nPeaks (this) = "
        "%2i<br>Matched peaks = %2i<br>Overall match = %.3f<br><br>%s<br>%s<br>%s<br>%s<br>%s<br></td><td><b>"
        "Reverse Match Data:</b><br>nPeaks(other) = %2i<br>Matched peaks = %2i<br>Overall match = "
        "%.3f<br><br>%s<br>%s<br>%s<br>%s<br>%s<br></td></tr></table>";
    const auto f = FactorLines(forward, options);
    const auto r = FactorLines(reverse, options);
    const auto format = [&](char* buffer, std::size_t size) {
        return std::snprintf(buffer, size, Template, thisPeakCount, forward.MatchedPeaks, forward.Overall, f[0].c_str(),
                             f[1].c_str(), f[2].c_str(), f[3].c_str(), f[4].c_str(), otherPeakCount,
                             reverse.MatchedPeaks, reverse.Overall, r[0].c_str(), r[1].c_str(), r[2].c_str(),
                             r[3].c_str(), r[4].c_str());
    };
    const int length = format(nullptr, 0);
    if (length <= 0)
        return {};
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    format(buffer.data(), buffer.size());
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

} // namespace corvelin
