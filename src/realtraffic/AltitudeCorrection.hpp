#pragma once

#include <optional>

#include "realtraffic/TrafficContext.hpp"

namespace corv::realtraffic {

// The reported pressure altitude corrected for the QNH high up, and set to 0 when the aircraft
// is judged to be on the ground. Nothing when the airborne-only setting rejects the record.
std::optional<double> correctedAltitude(double reported, double groundSpeed,
                                        const TrafficContext& context);

// A true airspeed for a report that gives none, by altitude band.
double estimatedTrueAirspeed(double altitude);

}  // namespace corv::realtraffic
