#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <unordered_set>

#include "common/ModelCodeTable.hpp"
#include "realtraffic/QnhReader.hpp"
#include "realtraffic/ReaderStatus.hpp"
#include "realtraffic/RealTrafficPort.hpp"
#include "realtraffic/TrafficQueue.hpp"
#include "realtraffic/TrafficReader.hpp"

namespace corv::realtraffic {

struct ReceiverOptions {
    int weatherPort = 49004;
    int trafficPort = 49005;
    std::chrono::milliseconds receiveTimeout{1000};
    // The weather comes first so that the first traffic already has its QNH.
    std::chrono::milliseconds trafficStartDelay{2000};
};

// What the receivers change in the window; called from the receiver threads too.
struct ReceiverEffects {
    std::function<void()> repaint;
    std::function<void(std::int32_t)> showQnh;
};

// Where the receivers listen: loopback when RealTraffic runs here; otherwise any local address
// (a socket bound to one unicast address never sees a broadcast), and when RealTraffic runs on
// another PC only its datagrams are taken.
struct ListenAddresses {
    std::string bind;
    std::string acceptedSender;
    bool operator==(const ListenAddresses&) const = default;
};
ListenAddresses listenAddressesFor(RealTrafficLocation location, const std::string& rtIpAddress);

// The weather and traffic receivers with their threads, the traffic queue and the watchdog.
class Receivers {
  public:
    Receivers(services::RunState& run, services::MessageLine& messages,
              common::ModelCodeTable& models, std::function<std::int32_t()> liveTickCount,
              ReceiverEffects effects, ReceiverOptions options = {});
    ~Receivers();
    Receivers(const Receivers&) = delete;
    Receivers& operator=(const Receivers&) = delete;

    // Starts the QNH Reader and, after the start delay, the Traffic Reader. Returns early
    // when the run is stopping.
    void start(RealTrafficLocation location);
    // Both loops end within one receive time-out; returns when both threads have ended.
    void stop();

    void setUserPosition(const common::GeoPoint& position, double altitudeOffsetFeet) {
        traffic_.setUserPosition(position, altitudeOffsetFeet);
    }
    void setParkAirport(const std::optional<ParkAirport>& park) { traffic_.setParkAirport(park); }
    double lastTimestamp() const noexcept { return traffic_.lastTimestamp(); }
    std::int32_t qnh() const noexcept { return traffic_.qnh(); }

    // Does nothing while RealTraffic is not connected. True when a status changed.
    bool runWatchdog(bool realTrafficConnected);
    // True when a receiver reports that no new data arrives.
    bool receiverIdle() const;
    ReaderStatus weatherStatus() const noexcept { return weatherGauge_.status; }
    ReaderStatus trafficStatus() const noexcept { return trafficGauge_.status; }

    TrafficQueue& queue() noexcept { return queue_; }
    void setAcceptingTraffic(bool accepting) { queue_.setAcceptingTraffic(accepting); }

    void startCallsignCollection() { traffic_.callsigns().start(); }
    std::unordered_set<std::string> takeSeenCallsigns() { return traffic_.callsigns().takeOver(); }
    std::unordered_set<std::string> takeCallsigns() { return traffic_.callsigns().takeOver(); }

    // QNH, timestamp, seen callsigns, stop flags and the weather counter back to their start
    // values.
    void resetRunState();

    // The readers themselves, for processing datagrams without sockets.
    TrafficReader& trafficReader() noexcept { return traffic_; }
    QnhReader& qnhReader() noexcept { return weather_; }
    const QnhReader& qnhReader() const noexcept { return weather_; }

  private:
    services::RunState& run_;
    ReceiverEffects effects_;
    ReceiverOptions options_;
    ReceiverGauge weatherGauge_;
    ReceiverGauge trafficGauge_;
    TrafficQueue queue_;
    TrafficReader traffic_;
    QnhReader weather_;
    Watchdog watchdog_;
    std::jthread weatherThread_;
    std::jthread trafficThread_;
};

}  // namespace corv::realtraffic
