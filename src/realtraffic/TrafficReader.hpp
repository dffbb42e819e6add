#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "common/ModelCodeTable.hpp"
#include "realtraffic/TrafficContext.hpp"
#include "realtraffic/TrafficLine.hpp"
#include "realtraffic/TrafficQueue.hpp"
#include "realtraffic/UdpReader.hpp"

namespace corv::realtraffic {

// The "Traffic Reader": one traffic datagram per aircraft position into the traffic queue.
class TrafficReader final : public UdpReader {
  public:
    static constexpr std::int32_t standardQnh = 1013;

    TrafficReader(ReaderServices services, ReceiverGauge& gauge, ReceiverGauge& weatherGauge,
                  common::ModelCodeTable& models, TrafficQueue& queue);

    // From the run thread, each when it changes: where the user is (with the altitude offset of
    // its pressure altitude), and the park airport.
    void setUserPosition(const common::GeoPoint& position, double altitudeOffsetFeet);
    void setParkAirport(const std::optional<ParkAirport>& park);
    // From the weather receiver.
    void setQnh(std::int32_t hectopascal) noexcept { qnh_ = hectopascal; }
    std::int32_t qnh() const noexcept { return qnh_; }
    // The timestamp of the latest traffic datagram; 0 while none has come.
    double lastTimestamp() const noexcept { return state_.lastTimestamp; }
    CallsignCollection& callsigns() noexcept { return state_.callsigns; }
    // QNH 1013, no timestamp, no callsigns: a new run or a new RealTraffic connection.
    void reset();

    void processDatagram(std::string_view datagram) override;
    void stopped() override;

  private:
    common::ModelCodeTable& models_;
    TrafficQueue& queue_;
    std::atomic<std::int32_t> qnh_{standardQnh};
    mutable std::mutex inputsMutex_;
    TrafficInputs inputs_;
    TrafficLineState state_;
};

}  // namespace corv::realtraffic
