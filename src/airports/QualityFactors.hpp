#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "airports/Stand.hpp"

namespace corv::airports {

// How much observed (real) and derived (soft) occupancy an airport's data holds, 0 ... 100
// each; both -1 when no stand has any entry.
struct QualityFactors {
    std::int32_t Qf_real = 0;
    std::int32_t Qf_soft = 0;

    friend bool operator==(const QualityFactors&, const QualityFactors&) = default;
};

QualityFactors computeQualityFactors(const std::vector<Stand>& stands);

// "63" when the real data is good, "30/12" below 45, two blanks when there is none.
std::string qualityText(QualityFactors factors);

}  // namespace corv::airports
