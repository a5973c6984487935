#include "engine/views/ViewPeakLimit.h"

#include "engine/core/LibraryChromatogram.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/MessageSink.h"

namespace corvelin {

bool WithinViewPeakLimit(const std::string& path, const CLibraryChromatogram& chromatogram)
{
    if (chromatogram.Peaks.size() <= static_cast<std::size_t>(kMaxViewPeaks))
        return true;
    ShowMessage(FormatC("The file %s has %zu peaks; the match matrix and the peak match table compare at most %d "
                        "peaks per file.",
                        path.c_str(), chromatogram.Peaks.size(), kMaxViewPeaks),
                "Corvelinscope", MessageIcon::Exclamation);
    return false;
}

} // namespace corvelin
