#include "live/HandlingValues.hpp"

#include <array>
#include <numbers>

#include "liveries/RandomSource.hpp"

namespace corv::live {

namespace {
constexpr double degrees = std::numbers::pi / 180.0;

struct ClassRow {
    double rollRate, maxBank, pitchRate, maxClimb, turnRate;
    int flare, settle;
    double rotation, climb;  // degrees
    double liftOff;          // knots
    int takeOffRoll, rotationTime;
    double ground;  // knots
};

// Light, business jets, large, heavy, high performance, rotorcraft.
constexpr std::array<ClassRow, 6> rows{{
    {0.035, 40, 0.01, 0.5, 0.15, 250, 250, -9, -15, 90, 100, 200, 5.0},
    {0.0275, 35, 0.0085, 0.75, 0.1, 300, 300, -8, -18, 110, 200, 250, 4.5},
    {0.02, 30, 0.0075, 0.6, 0.07, 400, 350, -6, -16.5, 140, 200, 300, 4.0},
    {0.015, 20, 0.005, 0.5, 0.05, 450, 450, -5, -12.5, 150, 250, 400, 3.0},
    {0.1, 90, 0.03, 1.0, 0.1, 150, 150, -6, -20, 220, 100, 200, 4.5},
    {0.06, 75, 0.03, 0.75, 0.2, 100, 100, -20, -30, 0, 100, 100, 5.0},
}};
}  // namespace

HandlingValues handlingValuesFor(int aircraftClass, liveries::RandomSource& random) {
    const ClassRow& row = rows.at(static_cast<std::size_t>(aircraftClass));
    const double sign = random.below(2) == 0 ? -1.0 : 1.0;
    return {row.rollRate * degrees,
            row.maxBank * degrees,
            row.pitchRate * degrees,
            row.maxClimb,
            row.turnRate * degrees,
            row.flare,
            row.settle,
            row.rotation * (1.0 + sign * 0.025) * degrees,
            row.climb * (1.0 + sign * 0.05) * degrees,
            row.liftOff,
            row.takeOffRoll,
            row.rotationTime,
            row.ground};
}

}  // namespace corv::live
