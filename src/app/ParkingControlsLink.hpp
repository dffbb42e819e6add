#pragma once

#include "parking/ParkingControls.hpp"
#include "run/CommandRequests.hpp"
#include "status/DisplayState.hpp"
#include "ui/commands/Commands.hpp"

namespace corv::app {

// The park airport drives the window's parking controls through the command handling.
class ParkingControlsLink final : public parking::ParkingControls {
  public:
    ParkingControlsLink(ui::Commands& commands, run::CommandRequests& requests,
                        status::DisplayState& display)
        : commands_(commands), requests_(requests), display_(display) {}

    void lock() override { commands_.lockParkingControls(); }
    void unlock() override { commands_.unlockParkingControls(); }
    void restartRenewalCountdown() override {
        requests_.renewalMinutesLeft = renewalMinutes;
        display_.update([](status::DisplaySnapshot& d) { d.minutesToRenewal = renewalMinutes; });
    }
    void enableParkAirportControls(bool enabled) override {
        commands_.setParkingControlsEnabled(enabled);
    }

  private:
    static constexpr int renewalMinutes = 20;
    ui::Commands& commands_;
    run::CommandRequests& requests_;
    status::DisplayState& display_;
};

}  // namespace corv::app
