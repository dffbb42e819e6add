#include "realtraffic/QnhReader.hpp"

#include "realtraffic/QnhDatagram.hpp"
#include "services/Log.hpp"

namespace corv::realtraffic {

QnhReader::QnhReader(ReaderServices services, ReceiverGauge& gauge, TrafficReader& traffic,
                     std::function<void(std::int32_t)> showQnh)
    : UdpReader("QNH Reader", std::move(services), gauge, nullptr),
      traffic_(traffic),
      showQnh_(std::move(showQnh)) {}

void QnhReader::reset() {
    lastQnh_ = TrafficReader::standardQnh;
    gauge().datagrams = 0;
}

void QnhReader::processDatagram(std::string_view datagram) {
    const QnhReading reading = readQnhDatagram(datagram);
    if (!reading.logLine.empty()) services::log(reading.logLine);
    if (!reading.hectopascal) return;
    const std::int32_t qnh = *reading.hectopascal;
    // 1013 is also the value after a reset, so hearing it always passes it on.
    if (lastQnh_.exchange(qnh) == qnh && qnh != TrafficReader::standardQnh) return;
    traffic_.setQnh(qnh);
    if (showQnh_) showQnh_(qnh);
    ReaderStatus quiet = ReaderStatus::NoNewData;
    gauge().status.compare_exchange_strong(quiet, ReaderStatus::Receiving);
    if (services_.repaint) services_.repaint();
}

void QnhReader::stopped() {
    services::log("QNH Reader has stopped");
}

}  // namespace corv::realtraffic
