#include "realtraffic/Receivers.hpp"

#include <algorithm>

#include "services/RunState.hpp"
#include "settings/ParameterTable.hpp"

namespace corv::realtraffic {

namespace {
constexpr auto startDelayStep = std::chrono::milliseconds(100);
}

ListenAddresses listenAddressesFor(RealTrafficLocation location, const std::string& rtIpAddress) {
    switch (location) {
        case RealTrafficLocation::Remote:
            return {"", rtIpAddress};
        case RealTrafficLocation::Local:
            return {"127.0.0.1", ""};
        case RealTrafficLocation::NotDetected:
            break;
    }
    return {};
}

Receivers::Receivers(services::RunState& run, services::MessageLine& messages,
                     common::ModelCodeTable& models, std::function<std::int32_t()> liveTickCount,
                     ReceiverEffects effects, ReceiverOptions options)
    : run_(run),
      effects_(std::move(effects)),
      options_(options),
      queue_(std::move(liveTickCount)),
      traffic_(ReaderServices{run, messages, effects_.repaint}, trafficGauge_, weatherGauge_,
               models, queue_),
      weather_(ReaderServices{run, messages, effects_.repaint}, weatherGauge_, traffic_,
               effects_.showQnh) {}

Receivers::~Receivers() {
    stop();
}

void Receivers::start(RealTrafficLocation location) {
    stop();
    weather_.setStopFlag(false);
    traffic_.setStopFlag(false);
    const ListenAddresses addresses = listenAddressesFor(location, settings::RT_IP_ADDRESS.value());
    const auto setup = [&](int port) {
        return ReaderSetup{addresses.bind, addresses.acceptedSender, port, options_.receiveTimeout,
                           location};
    };
    weatherThread_ = std::jthread(
        [this, weatherSetup = setup(options_.weatherPort)] { weather_.threadBody(weatherSetup); });
    for (auto waited = std::chrono::milliseconds(0);
         waited < options_.trafficStartDelay && !run_.stopOrClosed(); waited += startDelayStep) {
        std::this_thread::sleep_for(std::min(startDelayStep, options_.trafficStartDelay - waited));
    }
    if (run_.stopOrClosed()) return;
    trafficThread_ = std::jthread(
        [this, trafficSetup = setup(options_.trafficPort)] { traffic_.threadBody(trafficSetup); });
}

void Receivers::stop() {
    weather_.setStopFlag(true);
    traffic_.setStopFlag(true);
    if (weatherThread_.joinable()) weatherThread_.join();
    if (trafficThread_.joinable()) trafficThread_.join();
}

bool Receivers::runWatchdog(bool realTrafficConnected) {
    if (!realTrafficConnected) return false;
    const bool changed = watchdog_.run(weatherGauge_, trafficGauge_);
    if (changed && effects_.repaint) effects_.repaint();
    return changed;
}

bool Receivers::receiverIdle() const {
    return weatherGauge_.status == ReaderStatus::NoNewData ||
           trafficGauge_.status == ReaderStatus::NoNewData;
}

void Receivers::resetRunState() {
    traffic_.reset();
    weather_.reset();
    watchdog_.resetWeather();
    weather_.setStopFlag(false);
    traffic_.setStopFlag(false);
}

}  // namespace corv::realtraffic
