#pragma once

#include <string>

#include "realtraffic/PositionServer.hpp"
#include "realtraffic/RealTrafficPort.hpp"
#include "realtraffic/Receivers.hpp"

namespace corv::sim {
class SimulatorPort;
}
namespace corv::live {
class TrafficPort;
}
namespace corv::ui {
class DisplayState;
class WindowSeam;
}  // namespace corv::ui
namespace corv::liveries {
class ReferenceData;
}

namespace corv::realtraffic {

// The whole link to RealTraffic as the run uses it: the position server that tells RealTraffic
// where the user flies, and the receivers of what it broadcasts.
class RealTrafficLink final : public RealTrafficPort {
  public:
    RealTrafficLink(app::RunState& run, app::MessageLine& messages, ui::DisplayState& display,
                    ui::WindowSeam& window, sim::SimulatorPort& simulator,
                    live::TrafficPort& traffic, liveries::ReferenceData& referenceData,
                    const common::TrafficRadius& radius);

    void setLocation(RealTrafficLocation location) override { location_ = location; }
    void startPositionServer(const std::string& port) override { server_.start(port); }
    void stopPositionServer() override { server_.stop(); }
    bool waitForFirstConnection() override;
    bool connected() const override { return server_.connected(); }
    void sendSimTime() override;
    void sendUserPosition() override;

    void startReceivers() override { receivers_.start(location_); }
    void stopReceivers() override { receivers_.stop(); }
    void setReferencePositionFromUser() override;
    std::int64_t firstReportTime() const override;
    void runWatchdog() override;
    bool receiverIdle() const override { return receivers_.receiverIdle(); }
    void setAcceptingTraffic(bool accepting) override { receivers_.setAcceptingTraffic(accepting); }
    void startCallsignCollection() override { receivers_.startCallsignCollection(); }
    std::size_t takeReports(std::span<TrafficReport> into) override {
        return receivers_.queue().take(into);
    }
    void resetRunState() override { receivers_.resetRunState(); }

  private:
    void showReceiverStatus();

    app::RunState& run_;
    ui::DisplayState& display_;
    ui::WindowSeam& window_;
    sim::SimulatorPort& simulator_;
    RealTrafficLocation location_ = RealTrafficLocation::NotDetected;
    PositionServer server_;
    Receivers receivers_;
};

}  // namespace corv::realtraffic
