#pragma once
// The hover texts of the match plot and the link messages they carry ("1-Nist-%i", "2-Spec-%i": pane 1 is the
// upper plot, 2 the lower one, the number the 0-based peak index).
#include <string>

#include "engine/core/EngineExport.h"

namespace corvelin {

class CLibraryChromatogram;
struct CMatchLinie;

// "Peak Match = ..." for a line, with both peaks' data, the MS similarity and both thumbnails.
CORVELIN_ENGINE_EXPORT std::string PeakMatchTipText(const CMatchLinie& line, const CLibraryChromatogram& self,
                                                    const CLibraryChromatogram& other, double msSimilarity,
                                                    unsigned long thisPicture, unsigned long otherPicture);
// "Peak Information" for peak peakIndex (0-based) of chromatogram, shown in pane 1 or 2.
CORVELIN_ENGINE_EXPORT std::string PeakInformationTipText(const CLibraryChromatogram& chromatogram, int peakIndex,
                                                          int pane, unsigned long picture);

struct CORVELIN_ENGINE_EXPORT CTipLink {
    enum class Action { None, Nist, Spec };
    int Pane = 0; // 1 upper, 2 lower; 0 = not a link of the match plot (ignored)
    Action What = Action::None;
    int PeakIndex = -1; // the number after the last "-"
};
CORVELIN_ENGINE_EXPORT CTipLink ParseTipLink(const std::string& message);

// The name a linked spectrum is sent under: "%.2f %s" with the peak's RT and the chromatogram's SourcePath.
CORVELIN_ENGINE_EXPORT std::string TipSpectrumName(const CLibraryChromatogram& chromatogram, int peakIndex);

} // namespace corvelin
