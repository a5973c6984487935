#pragma once
// The RI calibration a peak table carries: when its rows give retention indices that rise with retention time,
// the fewest of those rows between which linear interpolation gives every row's RI to within kRITolerance.
#include <utility>
#include <vector>

#include "engine/core/LibraryRICalibration.h"

namespace corvelin {

namespace peaktable {

inline constexpr double kRITolerance = 0.05;

// points: (RT in minutes, RI) of the rows with an RI, in any order. Fills table (linear calculation option) and
// returns true when there are two or more distinct retention times and RI rises strictly with RT (rows at the
// same RT must agree on the RI); otherwise leaves table empty and returns false.
bool DeriveRICalibration(std::vector<std::pair<double, double>> points, CLibraryRICalibrationData& table);

} // namespace peaktable

} // namespace corvelin
