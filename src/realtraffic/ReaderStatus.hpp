#pragma once

#include <atomic>
#include <cstdint>

namespace corv::realtraffic {

// What the window shows for a receiver.
enum class ReaderStatus : int { Receiving = 1, NoNewData = 2, Stopped = 3 };

// One receiver's figures, written by its thread and the watchdog, read by the window.
struct ReceiverGauge {
    std::atomic<ReaderStatus> status{ReaderStatus::Stopped};
    // Datagrams handed to processing.
    std::atomic<std::uint32_t> datagrams{0};
};

// Notices receivers that have gone quiet: RealTraffic may still be connected while its
// broadcasts no longer reach the program.
class Watchdog {
  public:
    // One look at both receivers; true when a status changed and the window must repaint.
    bool run(ReceiverGauge& weather, ReceiverGauge& traffic);
    // The weather receiver's counter went back to 0.
    void resetWeather() noexcept { weatherSeen_ = 0; }

  private:
    static bool look(ReceiverGauge& gauge, std::uint32_t& seen);

    std::uint32_t weatherSeen_ = 0;
    std::uint32_t trafficSeen_ = 0;
};

}  // namespace corv::realtraffic
