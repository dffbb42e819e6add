#include "airports/QualityFactors.hpp"

#include <algorithm>
#include <cmath>

#include <fmt/format.h>

namespace corv::airports {

namespace {
struct EntrySums {
    int count = 0;
    int days = 0;
    int halfHours = 0;
};

EntrySums sumsOf(const Stand& stand, bool real) {
    EntrySums sums;
    bool day[8] = {};
    for (const OccupancyEntry& entry : stand.entries) {
        if (entry.index <= 0 || entry.real != real) continue;
        ++sums.count;
        if (entry.day >= 1 && entry.day <= 7) day[entry.day] = true;
        sums.halfHours += entry.hours.size();
    }
    sums.days = static_cast<int>(std::count(std::begin(day), std::end(day), true));
    return sums;
}

double scoreOf(const EntrySums& sums) {
    return std::min(20.0 * sums.count, 4000.0) + 10000.0 + 100.0 * sums.days +
           2.0 * std::min(sums.halfHours, 600);
}

std::int32_t factor(double sum, double weight) {
    return static_cast<std::int32_t>(std::clamp(std::round(sum / weight * 0.00625), 0.0, 100.0));
}
}  // namespace

QualityPair computeQualityFactors(const std::vector<Stand>& stands) {
    const bool anyEntry = std::any_of(stands.begin(), stands.end(),
                                      [](const Stand& s) { return !s.entries.empty(); });
    if (!anyEntry) return {-1, -1};
    double weight = 0.0;
    double real = 0.0;
    double soft = 0.0;
    for (const Stand& stand : stands) {
        if (stand.heli || stand.type == fuelPositionType) continue;
        // The radius as stored, in nautical miles, against limits that look meant for metres:
        // every real stand weighs the same, which cancels out in the mean. Kept as it is, since
        // the factors written into the files were computed so.
        const double w = stand.radius <= 7.0 ? 0.3 : stand.radius <= 10.0 ? 1.5 : 1.0;
        weight += w;
        const EntrySums realSums = sumsOf(stand, true);
        const EntrySums softSums = sumsOf(stand, false);
        if (realSums.count > 0) real += w * scoreOf(realSums);
        if (softSums.count > 0) soft += w * scoreOf(softSums);
    }
    if (weight == 0.0) return {0, 0};
    return {factor(real, weight), factor(soft, weight)};
}

std::string qualityText(QualityPair quality) {
    if (quality.first < 0 && quality.second < 0) return "  ";
    if (quality.first < 45) return fmt::format("{:2}/{:2}", quality.first, quality.second);
    return fmt::format("{:2}", quality.first);
}

}  // namespace corv::airports
