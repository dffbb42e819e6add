#include "realtraffic/ReaderStatus.hpp"

namespace corv::realtraffic {

bool Watchdog::run(ReceiverGauge& weather, ReceiverGauge& traffic) {
    const bool weatherChanged = look(weather, weatherSeen_);
    const bool trafficChanged = look(traffic, trafficSeen_);
    return weatherChanged || trafficChanged;
}

bool Watchdog::look(ReceiverGauge& gauge, std::uint32_t& seen) {
    // A stopped receiver stays stopped until it is started again.
    const ReaderStatus status = gauge.status;
    if (status == ReaderStatus::Stopped) return false;
    const std::uint32_t count = gauge.datagrams;
    const ReaderStatus next = count == seen ? ReaderStatus::NoNewData : ReaderStatus::Receiving;
    seen = count;
    if (next == status) return false;
    // Only from the status just read: a receiver that stops meanwhile keeps "stopped".
    ReaderStatus expected = status;
    return gauge.status.compare_exchange_strong(expected, next);
}

}  // namespace corv::realtraffic
