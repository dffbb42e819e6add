#include "app/RealTrafficLink.hpp"

#include "common/ZuluTime.hpp"
#include "liveries/ReferenceData.hpp"
#include "services/RunState.hpp"
#include "sim/SimulatorPort.hpp"
#include "status/DisplayState.hpp"
#include "status/WindowSeam.hpp"

namespace corv::app {

namespace {
realtraffic::PositionSample sampleOf(const sim::UserAircraftState& user) {
    return {user.pitch,          user.bank,     user.heading,  user.indicatedAltitude,
            user.groundVelocity, user.latitude, user.longitude};
}
}  // namespace

RealTrafficLink::RealTrafficLink(services::RunState& run, services::MessageLine& messages,
                                 status::DisplayState& display, status::WindowSeam& window,
                                 sim::SimulatorPort& simulator,
                                 std::function<void()> removeLiveTraffic,
                                 liveries::ReferenceData& referenceData)
    : run_(run),
      display_(display),
      window_(window),
      simulator_(simulator),
      server_(run, messages,
              realtraffic::PositionServer::Effects{
                  [this](bool connected) {
                      display_.update(
                          [connected](status::DisplaySnapshot& d) { d.rtConnected = connected; });
                      window_.repaintBand(status::Band::Status);
                  },
                  [this](const std::string& version) {
                      display_.update(
                          [&version](status::DisplaySnapshot& d) { d.rtVersionText = version; });
                      window_.repaintBand(status::Band::Status);
                  },
                  std::move(removeLiveTraffic), [this] { receivers_.resetRunState(); }}),
      receivers_(
          run, messages, referenceData.modelTable(), [this] { return run_.liveTickCount.load(); },
          realtraffic::ReceiverEffects{[this] { showReceiverStatus(); },
                                       [this](std::int32_t qnh) {
                                           display_.update([qnh](status::DisplaySnapshot& d) {
                                               d.qnhHectopascal = qnh;
                                           });
                                       }}) {}

bool RealTrafficLink::waitForFirstConnection() {
    server_.connectFirstTime(location_);
    if (server_.connected()) run_.awaitingRealTraffic = false;
    return server_.connected();
}

void RealTrafficLink::sendSimTime() {
    const sim::UserAircraftState user = simulator_.userAircraft();
    if (user.zuluYear > 0) {
        server_.sendSimTime(
            common::unixSecondsFromZulu(user.zuluYear, user.zuluDayOfYear, user.zuluTime));
    }
}

void RealTrafficLink::sendUserPosition() {
    server_.sendPosition(location_, sampleOf(simulator_.userAircraft()));
}

void RealTrafficLink::setReferencePositionFromUser() {
    const sim::UserAircraftState user = simulator_.userAircraft();
    receivers_.setUserPosition({user.latitude, user.longitude},
                               user.altitudeFeet - user.indicatedAltitude);
}

std::int64_t RealTrafficLink::firstReportTime() const {
    return static_cast<std::int64_t>(receivers_.lastTimestamp());
}

void RealTrafficLink::runWatchdog() {
    if (receivers_.runWatchdog(display_.snapshot().rtConnected)) showReceiverStatus();
}

void RealTrafficLink::showReceiverStatus() {
    const int weather = static_cast<int>(receivers_.weatherStatus());
    const int traffic = static_cast<int>(receivers_.trafficStatus());
    display_.update([weather, traffic](status::DisplaySnapshot& d) {
        d.weatherStatus = weather;
        d.trafficStatus = traffic;
    });
    window_.repaintBand(status::Band::Status);
}

}  // namespace corv::app
