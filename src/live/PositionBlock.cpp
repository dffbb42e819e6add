#include "live/PositionBlock.hpp"

namespace corv::live {

PositionBlock positionBlockOf(const realtraffic::TrafficReport& report) {
    return {report.latitude,    report.longitude,     report.altitude,     report.groundSpeed,
            report.track,       report.verticalSpeed, report.trueAirspeed, report.dueTick,
            report.airborne,    report.stationary,    report.headingKnown, report.bank,
            report.trueHeading, report.timestamp,     report.hexid};
}

}  // namespace corv::live
