#pragma once
// The quartile classes of the multi-file summary's "Quartiles (Area)" view: the areas of one peak group sorted
// ascending, their minimum, maximum and quartile bounds, and the class of one area among them.
#include <string>
#include <vector>

#include "engine/core/EngineExport.h"

namespace corvelin {

struct CORVELIN_ENGINE_EXPORT CSummaryQuartiles {
    double Min = 0;
    double Max = 0;
    double Q1 = 0;
    double Q2 = 0;
    double Q3 = 0;
};

// The bound for p over n ascending values (n >= 1): with k = p x n, when k is within 0.0001 of the whole number
// w nearest to it, the mean of the values at positions w and w + 1 (1-based; the last value when w is n),
// otherwise the value at position ceil(k).
CORVELIN_ENGINE_EXPORT double QuartileBound(const std::vector<double>& sorted, double p);

// Sorts the values ascending (bidirectional bubble sort) and takes min, max and the bounds for 0.25, 0.5, 0.75.
// An empty list gives all zeros.
CORVELIN_ENGINE_EXPORT CSummaryQuartiles SummaryQuartiles(std::vector<double> values);

// "Minimum", "Maximum", "Q1" ... "Q4" for an area of the group; "please report to helpdesk" for an area that
// fits no class (one that is not a number).
CORVELIN_ENGINE_EXPORT std::string QuartileClass(double area, const CSummaryQuartiles& q);

} // namespace corvelin
