#pragma once
// Writes synthetic runs as ANDI-MS netCDF files through libnetcdf, in the layouts real writers use.
#include <netcdf.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/readers/common/SyntheticRun.h"

namespace corvelin {

namespace synthetic {

// How the test writes an ANDI-MS file: the variations real writers use.
struct AndiLayout {
    nc_type MassType = NC_FLOAT;
    nc_type IntensityType = NC_FLOAT;
    double MassScale = 1; // stored = value / scale; scale_factor written when not 1
    double IntensityScale = 1;
    bool Unlimited = true; // point_number as the record dimension
    enum class TimeUnit {
        GlobalSeconds,
        VariableSeconds,
        None,
        GlobalMinutes,
        Arbitrary
    } Unit = TimeUnit::GlobalSeconds;
    int StalePointCount = 0;      // added to every point_count (larger than the scan really has)
    int GapPoints = 0;            // padding points between scans (point_count smaller than the scan_index step)
    std::vector<int> NoTimeScans; // scans whose acquisition time is -9999
    const char* ExperimentType = "Centroided Mass Spectrum";
};

inline void Check(int rc)
{
    if (rc != NC_NOERR)
        throw std::runtime_error(nc_strerror(rc));
}

inline void PutText(int nc, int var, const char* name, const std::string& text)
{
    Check(nc_put_att_text(nc, var, name, text.size(), text.c_str()));
}

// Values are rounded to the stored type by the library; intensities are stored already divided by the scale.
inline void WriteAndi(const std::string& path, const std::vector<Scan>& scans, const AndiLayout& layout)
{
    int nc;
    Check(nc_create(path.c_str(), NC_CLOBBER, &nc));
    std::vector<int> index, counts;
    std::vector<double> times, masses, intensities;
    for (std::size_t s = 0; s < scans.size(); ++s) {
        index.push_back(static_cast<int>(masses.size()));
        counts.push_back(static_cast<int>(scans[s].Lines.size()) + layout.StalePointCount);
        const bool noTime = std::find(layout.NoTimeScans.begin(), layout.NoTimeScans.end(), static_cast<int>(s)) !=
                            layout.NoTimeScans.end();
        const double seconds = scans[s].Seconds;
        times.push_back(noTime ? -9999.0 : layout.Unit == AndiLayout::TimeUnit::GlobalMinutes ? seconds / 60 : seconds);
        for (const auto& [m, v] : scans[s].Lines) {
            masses.push_back(m / layout.MassScale);
            intensities.push_back(v / layout.IntensityScale);
        }
        for (int g = 0; g < layout.GapPoints; ++g) { // padding that no scan owns
            masses.push_back(999 / layout.MassScale);
            intensities.push_back(1e9 / layout.IntensityScale);
        }
    }
    int scanDim, pointDim;
    Check(nc_def_dim(nc, "scan_number", scans.size(), &scanDim));
    Check(nc_def_dim(nc, "point_number", layout.Unlimited ? NC_UNLIMITED : masses.size(), &pointDim));
    int vIndex, vCount, vTime, vMass, vInt;
    Check(nc_def_var(nc, "scan_index", NC_INT, 1, &scanDim, &vIndex));
    Check(nc_def_var(nc, "point_count", NC_INT, 1, &scanDim, &vCount));
    Check(nc_def_var(nc, "scan_acquisition_time", NC_DOUBLE, 1, &scanDim, &vTime));
    Check(nc_def_var(nc, "mass_values", layout.MassType, 1, &pointDim, &vMass));
    Check(nc_def_var(nc, "intensity_values", layout.IntensityType, 1, &pointDim, &vInt));
    if (layout.MassScale != 1)
        Check(nc_put_att_double(nc, vMass, "scale_factor", NC_DOUBLE, 1, &layout.MassScale));
    if (layout.IntensityScale != 1)
        Check(nc_put_att_double(nc, vInt, "scale_factor", NC_DOUBLE, 1, &layout.IntensityScale));
    switch (layout.Unit) {
    case AndiLayout::TimeUnit::GlobalSeconds:
        PutText(nc, NC_GLOBAL, "units", "Seconds");
        break;
    case AndiLayout::TimeUnit::VariableSeconds:
        PutText(nc, vTime, "units", "Seconds");
        break;
    case AndiLayout::TimeUnit::GlobalMinutes:
        PutText(nc, NC_GLOBAL, "units", "Minutes");
        break;
    case AndiLayout::TimeUnit::Arbitrary:
        PutText(nc, NC_GLOBAL, "units", "Arbitrary Time Units");
        break;
    case AndiLayout::TimeUnit::None:
        break;
    }
    PutText(nc, NC_GLOBAL, "experiment_type", layout.ExperimentType);
    PutText(nc, NC_GLOBAL, "experiment_title", "  test mix  ");
    PutText(nc, NC_GLOBAL, "administrative_comments", "10 ng per component");
    PutText(nc, NC_GLOBAL, "source_file_reference", "MIX01.D");
    Check(nc_enddef(nc));
    Check(nc_put_var_int(nc, vIndex, index.data()));
    Check(nc_put_var_int(nc, vCount, counts.data()));
    Check(nc_put_var_double(nc, vTime, times.data()));
    const std::size_t start = 0, count = masses.size();
    Check(nc_put_vara_double(nc, vMass, &start, &count, masses.data()));
    Check(nc_put_vara_double(nc, vInt, &start, &count, intensities.data()));
    Check(nc_close(nc));
}

} // namespace synthetic

} // namespace corvelin
