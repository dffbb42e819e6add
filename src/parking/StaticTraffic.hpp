#pragma once

#include <optional>
#include <string>
#include <vector>

#include "airports/Stand.hpp"
#include "airports/WeekSlot.hpp"
#include "common/GreatCircle.hpp"

#include "sim/SimNotice.hpp"
#include "sim/SimQueues.hpp"

namespace corv::parking {

// A live aircraft taking a stand.
struct LiveClaim {
    std::string callsign;
    std::string registration;
    double radiusNm = 0.0;  // half its wingspan
};

// A static aircraft as the live traffic weighs it against its own.
struct StaticView {
    sim::AircraftKey key = 0;
    sim::ObjectId objectId = 0;  // 0 while it has no object
    std::string name;
    std::string registration;
    std::string callsign;
    std::string callsign2;
    std::int32_t standNumber = 0;
    common::GeoPoint standPosition;
    double radiusNm = 0.0;                 // half its wingspan
    airports::WeekSlot occupiedSince = 0;  // when the stay it shows began
    bool active = false;                   // in the simulator and staying
    bool removing = false;                 // in the simulator, on its way out
};

// What the live traffic's request pacing and notice handling do for the static aircraft: live
// aircraft always go first, the static ones take the slots left over.
class StaticTraffic {
  public:
    virtual ~StaticTraffic() = default;
    // A creation slot no live aircraft needs: hand one static request over, place the next.
    virtual void onCreationSlot(sim::SimQueues& queues) = 0;
    // The oldest static object waiting to be removed, taken out of the wait.
    virtual std::optional<sim::ObjectId> nextRemoval() = 0;
    // A notice about a static aircraft; false when it concerns none.
    virtual bool onNotice(const sim::SimNotice& notice) = 0;
    // The static aircraft on the stand, and those beside it the live aircraft would touch,
    // make way for it.
    virtual void makeWayFor(const airports::Stand& stand, const LiveClaim& claim) = 0;
    // Every static aircraft, in table order.
    virtual std::vector<StaticView> staticAircraft() const = 0;
    // Takes the static aircraft out of the simulator, or out of the queue when not yet created.
    virtual void removeStatic(sim::AircraftKey key) = 0;
};

}  // namespace corv::parking
