#pragma once

namespace corv::parking {

// The window's parking controls as the park airport drives them; the composition root ties
// them to the command handling.
class ParkingControls {
  public:
    virtual ~ParkingControls() = default;
    // Disables the parking controls while a calculation runs.
    virtual void lock() = 0;
    virtual void unlock() = 0;
    virtual void restartRenewalCountdown() = 0;
    // The controls that need a loaded park airport.
    virtual void enableParkAirportControls(bool enabled) = 0;
};

}  // namespace corv::parking
