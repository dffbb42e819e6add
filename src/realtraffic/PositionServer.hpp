#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/TcpServer.hpp"
#include "realtraffic/PositionLines.hpp"
#include "realtraffic/RealTrafficPort.hpp"

namespace corv::services {
class MessageLine;
class RunState;
}  // namespace corv::services

namespace corv::realtraffic {

// The message shown while the run waits for RealTraffic's first connection.
std::string waitingForRealTrafficText();

// The server RealTraffic connects to, speaking the line protocol of a PSX network server: it
// asks for RealTraffic's version once and then tells it where the user flies. Driven from the
// run thread; stop() may come from any thread and ends a pending wait.
class PositionServer {
  public:
    // What the server changes elsewhere in the program.
    struct Effects {
        std::function<void(bool)> showConnected;              // the RealTraffic box, repainted
        std::function<void(const std::string&)> showVersion;  // RealTraffic's version text
        std::function<void()> removeLiveTraffic;              // the traffic of a lost feed
        std::function<void()> resetReceivers;
    };

    PositionServer(const services::RunState& run, services::MessageLine& messages, Effects effects);

    // Throws std::runtime_error with the failing step ("Bind failed at port ...").
    void start(const std::string& port);
    bool waitForClient();
    std::string receive();
    bool sendDataPacket(const std::string& line);
    void stop();

    // Start-up: wait for RealTraffic, ask its version, show it connected.
    void connectFirstTime(RealTrafficLocation location);
    void lf_processRTVersion(const std::string& reply);
    // Every 20 ticks: the position line; a lost connection is waited for again.
    void sendPosition(RealTrafficLocation location, const PositionSample& user);
    void sendSimTime(std::int64_t unixSeconds);

    bool connected() const noexcept { return connected_; }
    // The port it listens on.
    int port() const { return listener_.localPort(); }

  private:
    bool shuttingDown() const;

    const services::RunState& run_;
    services::MessageLine& messages_;
    Effects effects_;
    platform::TcpListener listener_;
    platform::TcpConnection client_;
    std::atomic<bool> connected_{false};
};

}  // namespace corv::realtraffic
