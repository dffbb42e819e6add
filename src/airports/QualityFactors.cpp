#include "airports/QualityFactors.hpp"

#include <algorithm>
#include <bitset>
#include <cmath>

#include <fmt/format.h>

namespace corv::airports {

namespace {
constexpr double factorScale = 0.00625;
constexpr std::int32_t goodRealFactor = 45;

// The radius is compared in nautical miles as stored.
double standWeight(const Stand& stand) {
    if (stand.radius <= 7.0) return 0.3;
    if (stand.radius <= 10.0) return 1.5;
    return 1.0;
}

// The score of one kind (real or soft) of a stand's enabled entries; 0 when it has none.
double kindScore(const Stand& stand, bool real) {
    int count = 0;
    int halfHours = 0;
    std::bitset<8> days;
    for (const OccupancyEntry& entry : stand.entries) {
        if (entry.index <= 0 || entry.real != real) continue;
        ++count;
        halfHours += entry.hours.size();
        if (entry.day >= 1 && entry.day <= 7) days.set(static_cast<std::size_t>(entry.day));
    }
    if (count == 0) return 0.0;
    return std::min(20 * count, 4000) + 10000 + 100 * static_cast<int>(days.count()) +
           2 * std::min(halfHours, 600);
}

std::int32_t factorOf(double sum, double totalWeight) {
    return std::clamp(static_cast<std::int32_t>(std::lround(sum / totalWeight * factorScale)), 0,
                      100);
}
}  // namespace

QualityFactors computeQualityFactors(const std::vector<Stand>& stands) {
    if (std::all_of(stands.begin(), stands.end(),
                    [](const Stand& stand) { return stand.entries.empty(); })) {
        return {-1, -1};
    }
    double totalWeight = 0.0;
    double realSum = 0.0;
    double softSum = 0.0;
    for (const Stand& stand : stands) {
        if (stand.heli || stand.type == fuelPositionType) continue;
        const double weight = standWeight(stand);
        totalWeight += weight;
        realSum += weight * kindScore(stand, true);
        softSum += weight * kindScore(stand, false);
    }
    if (totalWeight == 0.0) return {0, 0};
    return {factorOf(realSum, totalWeight), factorOf(softSum, totalWeight)};
}

std::string qualityText(QualityFactors factors) {
    if (factors.Qf_real < 0 && factors.Qf_soft < 0) return "  ";
    if (factors.Qf_real < goodRealFactor)
        return fmt::format("{:2}/{:2}", factors.Qf_real, factors.Qf_soft);
    return fmt::format("{:2}", factors.Qf_real);
}

}  // namespace corv::airports
