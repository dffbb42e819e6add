#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/TcpServer.hpp"

namespace corv::rtfeed {

// Where the program says its user flies, decoded from its position lines.
struct UserPosition {
    double latitude = 0.0;   // degrees
    double longitude = 0.0;  // degrees
    double altitude = 0.0;   // feet (indicated)
    double groundSpeed = 0.0;
    double heading = 0.0;  // degrees
    double pitch = 0.0;    // degrees, nose up positive
    double bank = 0.0;     // degrees
};

// Decodes "Qs121=..." (without the line end); nothing when the line is no position line.
std::optional<UserPosition> decodeQs121(const std::string& line);

// RealTraffic's side of the position link: connects to the program's position server (again
// and again), answers the version request, and keeps the latest position and time it hears.
class PositionClient {
  public:
    PositionClient(std::string host, int port, std::string version);
    ~PositionClient();

    std::optional<UserPosition> position() const;
    // The simulator's UTC time now, in Unix seconds, carried on from the last time line; the
    // system clock until the program has told it.
    double simulatorSecondsNow() const;
    bool connected() const { return connected_; }
    int positionLines() const { return positionLines_; }
    // Drops the connection (a fault mode); it is made again after the pause.
    void dropConnection(int pauseSeconds);

  private:
    void run(std::stop_token stop);
    void handleLine(const std::string& line);

    std::string host_;
    int port_;
    std::string version_;
    mutable std::mutex mutex_;
    std::optional<UserPosition> position_;
    std::atomic<std::int64_t> simTimeMs_{0};
    std::atomic<std::chrono::steady_clock::rep> simTimeTold_{0};  // when it was told
    std::atomic<bool> connected_{false};
    std::atomic<int> positionLines_{0};
    std::atomic<int> pauseSeconds_{0};
    platform::TcpConnection connection_;
    std::mutex connectionMutex_;
    std::jthread thread_;
};

}  // namespace corv::rtfeed
