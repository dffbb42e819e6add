#pragma once

#include <algorithm>
#include <cstddef>
#include <deque>
#include <span>
#include <string>

#include "realtraffic/RealTrafficPort.hpp"

namespace corv::test {

// The RealTraffic link as the traffic step sees it: reports waiting to be taken, and a count
// of the position lines sent. Everything else does nothing.
class FeedStandIn final : public realtraffic::RealTrafficPort {
  public:
    void setLocation(realtraffic::RealTrafficLocation) override {}
    void startPositionServer(const std::string&) override {}
    void stopPositionServer() override {}
    bool waitForFirstConnection() override { return false; }
    bool connected() const override { return false; }
    void sendSimTime() override {}
    void sendUserPosition() override { ++positionLines; }
    void startReceivers() override {}
    void stopReceivers() override {}
    void setReferencePositionFromUser() override {}
    void setParkAirport(const std::optional<realtraffic::ParkAirport>&) override {}
    std::int32_t qnh() const override { return qnhHectopascal; }
    std::int64_t firstReportTime() const override { return 0; }
    void runWatchdog() override {}
    bool receiverIdle() const override { return false; }
    void setAcceptingTraffic(bool) override {}
    void startCallsignCollection() override {}
    std::unordered_set<std::string> takeSeenCallsigns() override { return {}; }
    std::size_t takeReports(std::span<realtraffic::TrafficReport> into) override {
        const std::size_t taken = std::min(into.size(), pending.size());
        for (std::size_t i = 0; i < taken; ++i) {
            into[i] = pending.front();
            pending.pop_front();
        }
        return taken;
    }
    void resetRunState() override {}

    std::deque<realtraffic::TrafficReport> pending;
    int positionLines = 0;
    std::int32_t qnhHectopascal = 1013;
};

}  // namespace corv::test
