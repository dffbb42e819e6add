#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "realtraffic/TrafficContext.hpp"
#include "realtraffic/TrafficReport.hpp"

namespace corv::live {

// What the run and the window's commands ask of the live traffic.
class TrafficPort {
  public:
    virtual ~TrafficPort() = default;

    // Room in the traffic tables, reserved once per process.
    virtual void reserveCapacity() = 0;
    // The 10 ms traffic work: notices, movement, hand-over, request pacing, at most two received
    // reports, the user position to RealTraffic; it counts the live ticks.
    virtual void handleAddingStack() = 0;
    // Every live aircraft out of the simulator: their feed is gone.
    virtual void removeAllLive() = 0;
    virtual void processSimNotices() = 0;

    virtual void recountLive() = 0;
    virtual std::size_t liveCountInSim() const = 0;
    virtual void runStaticTwinCheck() = 0;
    virtual void rebuildCallsignList() = 0;
    virtual void checkUserGroundCollisions() = 0;
    virtual void checkUserAirCollisions() = 0;
    virtual void checkLiveVersusStaticCollisions() = 0;
    virtual void removeBlockedCallsign(const std::string& callsign) = 0;
    virtual void checkParkedVersusStatic() = 0;
    virtual void clearHexidLiveryCache() = 0;
    virtual void clearNoLiverySet() = 0;
    virtual void logNoLiverySet() = 0;

    // Every live and static aircraft forgotten, before a new run.
    virtual void resetRunState() = 0;

    // Window commands.
    virtual void removeFarthestLive(std::size_t count) = 0;
    virtual void dropFromCallsignList(const std::string& callsign) = 0;
    virtual void selectionChanged() = 0;
    virtual void setParkedLights(bool on) = 0;

    // The airport arrivals land at: near it they configure for the approach and flare onto its
    // elevation.
    virtual void setParkAirport(const std::optional<realtraffic::ParkAirport>& park) = 0;
};

}  // namespace corv::live
