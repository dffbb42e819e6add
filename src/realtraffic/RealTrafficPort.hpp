#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unordered_set>

#include "realtraffic/TrafficContext.hpp"
#include "realtraffic/TrafficReport.hpp"

namespace corv::realtraffic {

// Where RealTraffic runs.
enum class RealTrafficLocation { Local, Remote, NotDetected };

// What the run asks of the RealTraffic link: the position server and the two receivers.
class RealTrafficPort {
  public:
    virtual ~RealTrafficPort() = default;

    // Where RealTraffic runs, as the start of the run found out.
    virtual void setLocation(RealTrafficLocation location) = 0;
    virtual void startPositionServer(const std::string& port) = 0;
    // Also unblocks a pending wait for RealTraffic's connection.
    virtual void stopPositionServer() = 0;
    // Waits for RealTraffic's first connection of the run; false when a stop was requested.
    virtual bool waitForFirstConnection() = 0;
    virtual bool connected() const = 0;
    virtual void sendSimTime() = 0;
    virtual void sendUserPosition() = 0;

    // Starts the weather receiver, and 2 seconds later the traffic receiver.
    virtual void startReceivers() = 0;
    virtual void stopReceivers() = 0;
    // The Traffic Reader's inputs, each set on its own: where the user is, and the park airport
    // (ground traffic is only of interest near it; nothing while none is set).
    virtual void setReferencePositionFromUser() = 0;
    virtual void setParkAirport(const std::optional<ParkAirport>& park) = 0;
    // The QNH last received with the weather, hectopascal; standard until then.
    virtual std::int32_t qnh() const = 0;
    // When the first traffic report arrived; 0 while none has.
    virtual std::int64_t firstReportTime() const = 0;
    virtual void runWatchdog() = 0;
    // True when a receiver reports that no new data arrives.
    virtual bool receiverIdle() const = 0;
    virtual void setAcceptingTraffic(bool accepting) = 0;
    virtual void startCallsignCollection() = 0;
    // The callsigns heard since the collection started; the collection ends.
    virtual std::unordered_set<std::string> takeSeenCallsigns() = 0;
    // Reports of the traffic received, oldest first, at most as many as fit.
    virtual std::size_t takeReports(std::span<TrafficReport> into) = 0;
    // QNH, counters, seen callsigns and receiver statuses back to their start values.
    virtual void resetRunState() = 0;
};

}  // namespace corv::realtraffic
