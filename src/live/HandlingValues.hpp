#pragma once

namespace corv::liveries {
class RandomSource;
}

namespace corv::live {

// How an aircraft of one class moves; angles in radians, rates per 10 ms tick.
struct HandlingValues {
    double rollRate = 0.0;
    double maxBank = 0.0;
    double pitchRate = 0.0;
    double maxClimbNearGround = 0.0;  // feet per tick
    double baseTurnRate = 0.0;
    int flareTicks = 0;
    int touchdownSettleTicks = 0;
    double rotationPitch = 0.0;  // negative is nose up
    double initialClimbPitch = 0.0;
    double liftOffKnots = 0.0;
    int takeOffRollTicks = 0;
    int rotationTicks = 0;
    double groundKnots = 0.0;  // leaving a stand, and arriving at one
};

// The class's values, the two pitch values varied by a fixed 2.5 % and 5 % of random sign, so
// that not every aircraft of a class rotates alike.
HandlingValues handlingValuesFor(int aircraftClass, liveries::RandomSource& random);

}  // namespace corv::live
