#pragma once

#include <functional>
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
namespace corv::status {
class DisplayState;
class WindowSeam;
}  // namespace corv::status
namespace corv::liveries {
class ReferenceData;
}

namespace corv::app {

// The whole link to RealTraffic as the run uses it: the position server that tells RealTraffic
// where the user flies, and the receivers of what it broadcasts.
class RealTrafficLink final : public realtraffic::RealTrafficPort {
  public:
    RealTrafficLink(services::RunState& run, services::MessageLine& messages,
                    status::DisplayState& display, status::WindowSeam& window,
                    sim::SimulatorPort& simulator, std::function<void()> removeLiveTraffic,
                    liveries::ReferenceData& referenceData);

    void setLocation(realtraffic::RealTrafficLocation location) override { location_ = location; }
    void startPositionServer(const std::string& port) override { server_.start(port); }
    void stopPositionServer() override { server_.stop(); }
    bool waitForFirstConnection() override;
    bool connected() const override { return server_.connected(); }
    void sendSimTime() override;
    void sendUserPosition() override;

    void startReceivers() override { receivers_.start(location_); }
    void stopReceivers() override { receivers_.stop(); }
    void setReferencePositionFromUser() override;
    void setParkAirport(const std::optional<realtraffic::ParkAirport>& park) override {
        receivers_.setParkAirport(park);
    }
    std::int32_t qnh() const override { return receivers_.qnhReader().lastQnh(); }
    std::int64_t firstReportTime() const override;
    void runWatchdog() override;
    bool receiverIdle() const override { return receivers_.receiverIdle(); }
    void setAcceptingTraffic(bool accepting) override { receivers_.setAcceptingTraffic(accepting); }
    void startCallsignCollection() override { receivers_.startCallsignCollection(); }
    std::unordered_set<std::string> takeSeenCallsigns() override {
        return receivers_.takeSeenCallsigns();
    }
    std::size_t takeReports(std::span<realtraffic::TrafficReport> into) override {
        return receivers_.queue().take(into);
    }
    void resetRunState() override { receivers_.resetRunState(); }

  private:
    void showReceiverStatus();

    services::RunState& run_;
    status::DisplayState& display_;
    status::WindowSeam& window_;
    sim::SimulatorPort& simulator_;
    realtraffic::RealTrafficLocation location_ = realtraffic::RealTrafficLocation::NotDetected;
    realtraffic::PositionServer server_;
    realtraffic::Receivers receivers_;
};

}  // namespace corv::app
