#include "engine/views/MatchPlotTips.h"

#include <cstdlib>

#include "engine/core/LibraryChromatogram.h"
#include "engine/core/PeakShare.h"
#include "engine/platform/CFormat.h"
#include "engine/views/MatchLines.h"

namespace corvelin {
namespace {

double Percent(double part, double total) noexcept
{
    return PeakSharePercent(part, total);
}

struct PeakFigures {
    double RT, RI, AreaPercent, Area, HeightPercent, Height, Width;
};

PeakFigures Figures(const CLibraryChromatogram& chromatogram, const CLibraryChromatogramPeakData& peak)
{
    return {peak.RT,
            peak.RI,
            Percent(peak.Area, chromatogram.TotalArea),
            peak.Area,
            Percent(peak.Height, chromatogram.TotalHeight),
            peak.Height,
            peak.WidthSeconds()};
}

} // namespace

std::string PeakMatchTipText(const CMatchLinie& line, const CLibraryChromatogram& self,
                             const CLibraryChromatogram& other, double msSimilarity, unsigned long thisPicture,
                             unsigned long otherPicture)
{
    const PeakFigures a = Figures(self, *line.ThisPeak);
    const PeakFigures b = Figures(other, *line.OtherPeak);
    return FormatC(
        "<h2>Peak Match = %.3f</h2><br><br><table border=1><tr><td>RT(this) = %.2f<br>RI(this) = %.1f<br>Area = "
        "%.2f %%<br>Area = %.0f <br>Height = %.2f %%<br>Height = %.1f <br>Width = %.2f sec</td><td>RT(other) = "
        "%.2f<br>RI(other) = %.1f<br>Area = %.2f %%<br>Area = %.0f <br>Height = %.2f %%<br>Height = %.1f "
        "<br>Width = %.2f sec</td></tr><tr><td colspan=\"2\">MS similarity = %.3f</td></tr><tr><td><bmp "
        "handle=%lu cx=150 cy=75><br><a msg=\"1-Nist-%i\">Send to NIST</a> <a msg=\"1-Spec-%i\">Send to MS "
        "options</a></td><td><bmp handle=%lu cx=150 cy=75><br><a msg=\"2-Nist-%i\">Send to NIST</a> <a "
        "msg=\"2-Spec-%i\">Send to MS options</a></td></tr></table>",
        line.Value, a.RT, a.RI, a.AreaPercent, a.Area, a.HeightPercent, a.Height, a.Width, b.RT, b.RI, b.AreaPercent,
        b.Area, b.HeightPercent, b.Height, b.Width, msSimilarity, thisPicture, line.ThisIndex, line.ThisIndex,
        otherPicture, line.OtherIndex, line.OtherIndex);
}

std::string PeakInformationTipText(const CLibraryChromatogram& chromatogram, int peakIndex, int pane,
                                   unsigned long picture)
{
    const PeakFigures f = Figures(chromatogram, *chromatogram.Peaks.at(peakIndex));
    return FormatC("<h2>Peak Information</h2><br><br><table border=1><tr><td>Peak Number = %2i<br>RT = %.2f<br>RI "
                   "= %.1f<br>Area = %.2f %%<br>Area = %.0f <br>Height = %.2f %%<br>Height = %.1f <br>Width = %.2f "
                   "sec</td></tr><tr><td><bmp handle=%lu cx=150 cy=75><br><a msg=\"%i-Nist-%i\">Send to NIST</a> "
                   "<a msg=\"%i-Spec-%i\">Send to MS options</a></td></tr></table>",
                   peakIndex + 1, f.RT, f.RI, f.AreaPercent, f.Area, f.HeightPercent, f.Height, f.Width, picture, pane,
                   peakIndex, pane, peakIndex);
}

CTipLink ParseTipLink(const std::string& message)
{
    CTipLink link;
    if (message.empty() || (message[0] != '1' && message[0] != '2'))
        return link;
    link.Pane = message[0] - '0';
    if (message.find("-Nist-") != std::string::npos)
        link.What = CTipLink::Action::Nist;
    else if (message.find("-Spec-") != std::string::npos)
        link.What = CTipLink::Action::Spec;
    const std::size_t dash = message.rfind('-');
    if (dash != std::string::npos)
        link.PeakIndex = std::atoi(message.c_str() + dash + 1);
    return link;
}

std::string TipSpectrumName(const CLibraryChromatogram& chromatogram, int peakIndex)
{
    return FormatC("%.2f %s", chromatogram.Peaks.at(peakIndex)->RT, chromatogram.SourcePath.c_str());
}

} // namespace corvelin
