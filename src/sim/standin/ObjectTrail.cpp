#include "sim/standin/ObjectTrail.hpp"

namespace corv::sim::standin {

namespace {
constexpr auto trailSpacing = std::chrono::seconds(2);
constexpr std::size_t longestTrail = 300;  // ten minutes of points
}  // namespace

void extendTrail(WorldObject& object, bool onGround, std::chrono::steady_clock::time_point now) {
    auto& trail = object.trail;
    const bool groundChanged = !trail.empty() && trail.back().onGround != onGround;
    if (!trail.empty() && !groundChanged && now - object.lastTrailPoint < trailSpacing) return;
    object.lastTrailPoint = now;
    trail.push_back({object.latitude, object.longitude, onGround});
    if (trail.size() > longestTrail) trail.erase(trail.begin());
}

}  // namespace corv::sim::standin
