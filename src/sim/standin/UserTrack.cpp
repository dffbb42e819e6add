#include "sim/standin/UserTrack.hpp"

#include <algorithm>
#include <cmath>

namespace corv::sim::standin {

namespace {

UserPose poseOf(const TrackPoint& point) {
    return {point.latitude,       point.longitude,        point.altitudeFeet,
            point.headingDegrees, point.groundSpeedKnots, 0.0,
            point.onGround};
}

// The shorter way round, so that 350 to 10 degrees passes north.
double interpolateHeading(double from, double to, double fraction) {
    const double turn = std::remainder(to - from, 360.0);
    const double heading = std::fmod(from + turn * fraction, 360.0);
    return heading < 0.0 ? heading + 360.0 : heading;
}

}  // namespace

UserPose userPoseAt(const Scenario& scenario, double seconds) {
    const auto& track = scenario.track;
    if (track.empty()) {
        return {
            scenario.latitude, scenario.longitude, 0.0, scenario.headingDegrees, 0.0, 0.0, true};
    }
    if (seconds <= track.front().time) return poseOf(track.front());
    if (seconds >= track.back().time) {
        auto pose = poseOf(track.back());
        pose.groundSpeedKnots = 0.0;
        return pose;
    }
    const auto next =
        std::upper_bound(track.begin(), track.end(), seconds,
                         [](double time, const TrackPoint& point) { return time < point.time; });
    const auto& b = *next;
    const auto& a = *(next - 1);
    const double span = b.time - a.time;
    const double f = span > 0.0 ? (seconds - a.time) / span : 1.0;
    UserPose pose;
    pose.latitude = a.latitude + (b.latitude - a.latitude) * f;
    pose.longitude = a.longitude + (b.longitude - a.longitude) * f;
    pose.altitudeFeet = a.altitudeFeet + (b.altitudeFeet - a.altitudeFeet) * f;
    pose.headingDegrees = interpolateHeading(a.headingDegrees, b.headingDegrees, f);
    pose.groundSpeedKnots = a.groundSpeedKnots + (b.groundSpeedKnots - a.groundSpeedKnots) * f;
    pose.verticalSpeedFps = span > 0.0 ? (b.altitudeFeet - a.altitudeFeet) / span : 0.0;
    pose.onGround = a.onGround && b.onGround;
    if (pose.onGround) pose.verticalSpeedFps = 0.0;
    return pose;
}

}  // namespace corv::sim::standin
