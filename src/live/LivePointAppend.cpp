#include <algorithm>

#include "common/GreatCircle.hpp"
#include "live/LiveTraffic.hpp"
#include "live/MotionMath.hpp"
#include "liveries/AircraftCategory.hpp"
#include "services/Log.hpp"
#include "services/RunState.hpp"
#include "settings/ParameterTable.hpp"

namespace corv::live {

using namespace motion;

namespace {

// A new point against the newest one; may turn the new point into a stationary copy.
bool plausible(PositionBlock& q, const PositionBlock& n, const LiveAircraft& aircraft) {
    if (samePlace(q, n, samePosition)) q.stationary = true;
    if (aircraft.aircraftClass == liveries::categoryRotorcraft) return true;
    const auto refused = [&](double knots) {
        return q.airborne || (aircraft.state == AcState::Active && !aircraft.onGroundMode) ||
               (aircraft.departing && q.groundSpeed > 0 && n.groundSpeed >= knots);
    };
    if (q.stationary) {
        if (refused(30.0)) return false;
        q.groundSpeed = 0;
        return true;
    }
    if (samePlace(q, n, nearPosition)) {
        if (refused(50.0)) return false;
        const double timestamp = q.timestamp;
        const std::uint32_t hexid = q.hexid;
        q = n;
        q.timestamp = timestamp;
        q.hexid = hexid;
        q.groundSpeed = 0;
        q.stationary = true;
        return true;
    }
    if (q.groundSpeed == 0.0 && (aircraft.departing || q.airborne)) return n.groundSpeed < 50.0;
    return true;
}

}  // namespace

void LiveTraffic::appendAccepted(LiveAircraft& aircraft, PositionBlock point) {
    auto& stream = aircraft.stream;
    if (stream.size() > maxStreamPoints) {
        removeFromSim(aircraft);
        return;
    }
    if (aircraft.holding && !stream.empty() &&
        common::distanceNm(at(stream.front()), at(point)) * 1852.0 >
            settings::HOLDING_THRESHOLD_METERS.value()) {
        aircraft.holding = false;
        aircraft.holdingSince = 0;
        removeFromSim(aircraft);
        return;
    }
    if (aircraft.phase == AcPhase::Birth) {
        if (stream.empty() || !plausible(point, stream.back(), aircraft)) return;
        point.dueTick = std::max(point.dueTick, stream.back().dueTick + 1);
        stream.push_back(point);
        return;
    }
    if (!stream.empty() && !plausible(point, stream.back(), aircraft)) return;
    if (aircraft.extensionCount > 0) {
        if (stream.empty()) {
            services::log("{} empty sz?", "checkExtendingSituations");
            return;
        }
        const double bearing = common::initialBearing(at(stream.back()), at(point));
        if (!aircraft.onGroundMode &&
            std::fabs(wrapPi(bearing - aircraft.sim.heading)) >= 100.0 * degrees)
            return;
        // Data again: the extrapolated points give way to it.
        aircraft.extensionCount = 0;
        aircraft.early = windowTicks;
        aircraft.late = aircraft.departing ? departingLateTicks : windowTicks;
        stream.front().dueTick = services_.run.liveTickCount + 1;
        aircraft.holding = false;
    }
    if (!stream.empty()) point.dueTick = std::max(point.dueTick, stream.back().dueTick + 1);
    stream.push_back(point);
    if (stream.size() == 2 && stream[0].stationary && stream[1].stationary) {
        stream[0].dueTick = services_.run.liveTickCount + 1;
        stream[0].groundSpeed = stream[1].groundSpeed;
    }
}

}  // namespace corv::live
