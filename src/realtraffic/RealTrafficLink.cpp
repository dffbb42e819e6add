#include "realtraffic/RealTrafficLink.hpp"

#include "app/RunState.hpp"
#include "common/ZuluTime.hpp"
#include "live/TrafficPort.hpp"
#include "liveries/ReferenceData.hpp"
#include "sim/SimulatorPort.hpp"
#include "ui/DisplayState.hpp"
#include "ui/WindowSeam.hpp"

namespace corv::realtraffic {

namespace {
PositionSample sampleOf(const sim::UserAircraftState& user) {
    return {user.pitch,          user.bank,     user.heading,  user.indicatedAltitude,
            user.groundVelocity, user.latitude, user.longitude};
}
}  // namespace

RealTrafficLink::RealTrafficLink(app::RunState& run, app::MessageLine& messages,
                                 ui::DisplayState& display, ui::WindowSeam& window,
                                 sim::SimulatorPort& simulator, live::TrafficPort& traffic,
                                 liveries::ReferenceData& referenceData,
                                 const common::TrafficRadius& radius)
    : run_(run),
      display_(display),
      window_(window),
      simulator_(simulator),
      server_(run, messages,
              PositionServer::Effects{[this](bool connected) {
                                          display_.update([connected](ui::DisplaySnapshot& d) {
                                              d.rtConnected = connected;
                                          });
                                          window_.repaintBand(ui::Band::Status);
                                      },
                                      [this](const std::string& version) {
                                          display_.update([&version](ui::DisplaySnapshot& d) {
                                              d.rtVersionText = version;
                                          });
                                          window_.repaintBand(ui::Band::Status);
                                      },
                                      [&traffic] { traffic.removeAllLive(); },
                                      [this] { receivers_.resetRunState(); }}),
      receivers_(
          run, messages, referenceData.modelTable(), radius,
          [this] { return run_.liveTickCount.load(); },
          ReceiverEffects{[this] { showReceiverStatus(); },
                          [this](std::int32_t qnh) {
                              display_.update(
                                  [qnh](ui::DisplaySnapshot& d) { d.qnhHectopascal = qnh; });
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
    receivers_.setInputs({{user.latitude, user.longitude},
                          std::nullopt,
                          user.altitudeFeet - user.indicatedAltitude});
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
    display_.update([weather, traffic](ui::DisplaySnapshot& d) {
        d.weatherStatus = weather;
        d.trafficStatus = traffic;
    });
    window_.repaintBand(ui::Band::Status);
}

}  // namespace corv::realtraffic
