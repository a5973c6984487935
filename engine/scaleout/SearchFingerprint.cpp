#include "engine/scaleout/SearchFingerprint.h"

#include "engine/options/SearchOptions.h"
#include "engine/platform/CFormat.h"
#include "engine/platform/Sha256.h"

namespace corvelin {

namespace {

std::string Real(double v)
{
    return FormatC("%.17g", v);
}

void AddSpectrum(std::string& t, const CLibraryMassSpectrumData& spectrum)
{
    t += FormatC("lines=%zu\n", spectrum.GetCount());
    for (const CLibraryMassSpectrumPoint& p : spectrum.Points())
        t += Real(p.Mass) + " " + Real(p.Intensity) + " " + Real(p.WeightedIntensity) + "\n";
}

} // namespace

std::string SearchOptionsCanonicalText(const CSearchOptions& o)
{
    std::string t;
    t += FormatC("MS=%d\nRT=%d\nRI=%d\nArea=%d\nHeight=%d\nAbsolute=%d\nMulti=%d\nSubfolders=%d\n", o.MSMatching,
                 o.RTMatching, o.RIMatching, o.AreaMatching, o.HeightMatching, o.AbsoluteAreaHeight, o.MultipleMatching,
                 o.SearchSubfolders);
    t += "RTWindow=" + Real(o.RTWindowWidth) + "\nRIWindow=" + Real(o.RIWindowWidth) + "\n";
    t += FormatC("Weighting=%d\n", o.Weighting);
    t += "TimeRange=" + o.TimeRange + "\n";
    t += FormatC("MassThresholdOn=%d\n", o.MassThresholdOn) + "MassThreshold=" + Real(o.MassThreshold) + "\n";
    t += FormatC("AreaThresholdOn=%d\n", o.AreaThresholdOn) + "AreaThreshold=" + Real(o.AreaThreshold) + "\n";
    t += FormatC("SpectralListMode=%d\nFitThreshold=%d\nSpectra=%d\n", o.SpectralListMode, o.FitThreshold,
                 o.GetSpectraCount());
    for (int i = 0; i < o.GetSpectraCount(); ++i) {
        std::string name;
        bool active = false;
        if (const CLibraryMassSpectrum* spectrum = o.GetSpectrum(i, &name, &active)) {
            t += FormatC("spectrum %d active=%d name=", i, active ? 1 : 0) + name + "\n";
            AddSpectrum(t, spectrum->Data());
        }
    }
    const CLibraryRICalibrationData& ri = o.RICalibration();
    t += FormatC("RICalculation=%d\nRIPoints=%zu\n", ri.GetCalculationOption(), ri.GetCount());
    for (std::size_t i = 0; i < ri.GetCount(); ++i) {
        const CLibraryRICalibrationPoint& point = ri.GetPoint(i);
        t += "point " + point.GetName() + " RT=" + Real(point.GetRT()) + " RI=" + Real(point.GetRI()) + "\n";
    }
    return t;
}

std::string SearchOptionsDigest(const CSearchOptions& options)
{
    return Sha256Hex(SearchOptionsCanonicalText(options));
}

} // namespace corvelin
