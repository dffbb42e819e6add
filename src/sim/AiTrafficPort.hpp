#pragma once

#include <string>

#include "sim/SimNotice.hpp"
#include "sim/SimQueues.hpp"
#include "sim/SimulatorPort.hpp"

namespace corv::sim {

// What the traffic logic asks of the simulator client: its queues, its notices and the
// requests about AI objects.
class AiTrafficPort {
  public:
    virtual ~AiTrafficPort() = default;
    virtual SimQueues& queues() = 0;
    virtual SimNotices& notices() = 0;
    virtual UserAircraftState userAircraft() const = 0;
    // Half the wingspan of the user's aircraft type, nautical miles: the room it takes.
    virtual double userHalfWingspan() const = 0;
    // Asks the simulator for the user aircraft's state; the reply arrives later.
    virtual UserAircraftState requestUserState() = 0;
    virtual void requestNearbyAircraft() = 0;
    virtual void requestStaticCg(ObjectId object) = 0;
    // Spoiler handle and both throttle levers of a landing aircraft, percent, written at once.
    virtual bool writeLandingRoll(ObjectId object, double spoilers, double throttle) = 0;
    // Writes the plan file and hands it to the simulator; true when the object has a plan now.
    virtual bool setFlightPlan(ObjectId object, const std::string& origin,
                               const std::string& destination, int category,
                               const std::string& description) = 0;
};

}  // namespace corv::sim
