#pragma once

#include <optional>
#include <string>

namespace corv::airports {

// What the run and the window's commands ask of the park airport and the static parking.
class AirportsPort {
  public:
    virtual ~AirportsPort() = default;

    virtual void readParkAirportList() = 0;
    virtual void parkAirportTick(bool statusFlag) = 0;
    virtual bool parkAirportSet() const = 0;
    virtual bool standListEmpty() const = 0;
    virtual void leaveParkAirport() = 0;
    virtual bool hasReservedStand() const = 0;
    virtual void keepReservedStandFree() = 0;
    // Re-reads the park airport list and the reserved stand; the text tells what changed.
    virtual std::string recheckParkAirports() = 0;
    // Prepares the stands of a newly set destination.
    virtual void setDestination(const std::string& code) = 0;
    virtual void clearDestination() = 0;
    // Distance in nm from the user to the first airport of the park airport list.
    virtual std::optional<double> firstParkAirportDistance() const = 0;

    virtual void removeAllStatic() = 0;
    virtual void renewStaticParking() = 0;
    virtual int staticQueuedCount() const = 0;
    virtual void resetRunState() = 0;
};

}  // namespace corv::airports
