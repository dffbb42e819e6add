#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "realtraffic/TrafficReader.hpp"
#include "realtraffic/UdpReader.hpp"

namespace corv::realtraffic {

// The "QNH Reader": keeps the QNH of RealTraffic's weather datagrams and hands it to the
// traffic receiver, which corrects altitudes with it.
class QnhReader final : public UdpReader {
  public:
    QnhReader(ReaderServices services, ReceiverGauge& gauge, TrafficReader& traffic,
              std::function<void(std::int32_t)> showQnh);

    std::int32_t lastQnh() const noexcept { return lastQnh_; }
    // QNH 1013 and no datagrams counted.
    void reset();

    void processDatagram(std::string_view datagram) override;
    void stopped() override;

  private:
    TrafficReader& traffic_;
    std::function<void(std::int32_t)> showQnh_;
    std::atomic<std::int32_t> lastQnh_{TrafficReader::standardQnh};
};

}  // namespace corv::realtraffic
