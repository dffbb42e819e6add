#pragma once

#include "sim/standin/Scenario.hpp"

namespace corv::sim::standin {

// Where the scenario puts the user aircraft at one moment.
struct UserPose {
    double latitude = 0.0;
    double longitude = 0.0;
    double altitudeFeet = 0.0;  // meaningless when on the ground
    double headingDegrees = 0.0;
    double groundSpeedKnots = 0.0;
    double verticalSpeedFps = 0.0;
    bool onGround = true;
};

// Parked, or interpolated between the two track points around the time; before the first point
// the user waits at it, after the last one it stays there.
UserPose userPoseAt(const Scenario& scenario, double seconds);

}  // namespace corv::sim::standin
