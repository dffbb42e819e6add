#include "realtraffic/TrafficReader.hpp"

#include "services/Log.hpp"
#include "settings/ParameterTable.hpp"

namespace corv::realtraffic {

TrafficReader::TrafficReader(ReaderServices services, ReceiverGauge& gauge,
                             ReceiverGauge& weatherGauge, common::ModelCodeTable& models,
                             TrafficQueue& queue)
    : UdpReader("Traffic Reader", std::move(services), gauge, &weatherGauge),
      models_(models),
      queue_(queue) {}

void TrafficReader::setUserPosition(const common::GeoPoint& position, double altitudeOffsetFeet) {
    std::lock_guard lock(inputsMutex_);
    inputs_.reference = position;
    inputs_.altitudeOffsetFeet = altitudeOffsetFeet;
}

void TrafficReader::setParkAirport(const std::optional<ParkAirport>& park) {
    std::lock_guard lock(inputsMutex_);
    inputs_.parkAirport = park;
}

void TrafficReader::reset() {
    qnh_ = standardQnh;
    state_.lastTimestamp = 0.0;
    state_.callsigns.clear();
}

void TrafficReader::processDatagram(std::string_view datagram) {
    TrafficContext context;
    {
        std::lock_guard lock(inputsMutex_);
        context.inputs = inputs_;
    }
    context.qnh = qnh_;
    context.rangeNm = settings::RANGE.value();
    context.airborneOnly = settings::AIRBORNE_ONLY.value();
    processLineSub(datagram, context, state_, models_, queue_);
}

void TrafficReader::stopped() {
    gauge().status = ReaderStatus::Stopped;
    if (services_.repaint) services_.repaint();
    services::log("Traffic Reader has stopped");
}

}  // namespace corv::realtraffic
