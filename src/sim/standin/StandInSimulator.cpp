#include "sim/standin/StandInSimulator.hpp"

#include "common/UpperCase.hpp"

#include <algorithm>
#include <chrono>
#include <iterator>
#include <string_view>

#include <fmt/format.h>
#include <fmt/ranges.h>

#include "sim/standin/ObjectTrail.hpp"
#include "sim/standin/ObjectVariables.hpp"
#include "sim/standin/StandInCommon.hpp"
#include "sim/standin/StandInEvents.hpp"
#include "sim/standin/UserTrack.hpp"

// Start, connection, declarations and the world's shared helpers.
namespace corv::sim::standin {

using detail::fail;
using detail::ok;

namespace {

constexpr double userStaticCgFeet = 6.0;

// The system events the stand-in sends, in upper case; no other can be subscribed.
constexpr std::string_view systemEvents[] = {"SIM",   "OBJECTADDED",  "OBJECTREMOVED",
                                             "FRAME", "FLIGHTLOADED", "POSITIONCHANGED"};

std::vector<std::filesystem::path> titleFolders(const std::filesystem::path& install,
                                                std::vector<std::filesystem::path> liveries) {
    liveries.insert(liveries.begin(), install / "SimObjects");
    return liveries;
}

Scenario loadScenario(const std::filesystem::path& install,
                      const airports::AirportCatalogue& catalogue) {
    const auto file = install / scenarioFileName;
    std::error_code ec;
    return std::filesystem::exists(file, ec) ? readScenario(file) : defaultScenario(catalogue);
}

}  // namespace

StandInSimulator::StandInSimulator(std::filesystem::path installFolder,
                                   std::vector<std::filesystem::path> liveryFolders,
                                   const airports::AirportCatalogue& catalogue,
                                   std::shared_ptr<const Clock> clock)
    : installFolder_(std::move(installFolder)),
      clock_(std::move(clock)),
      titles_(findInstalledTitles(titleFolders(installFolder_, std::move(liveryFolders)))),
      scenario_(loadScenario(installFolder_, catalogue)),
      ground_(catalogue, scenario_.groundElevationFeet),
      log_(installFolder_ / standInLogFileName),
      tracks_(installFolder_ / standInTracksFileName) {
    WorldObject user;
    user.id = userObjectId;
    user.isUser = true;
    user.title = scenario_.title;
    user.atcModel = scenario_.atcModel;
    user.tailNumber = scenario_.atcId;
    user.lights = scenario_.lights;
    user.staticCgFeet = userStaticCgFeet;
    user.aiControlled = false;
    objects_.emplace(userObjectId, user);
    refreshUser();
    const auto& placed = objects_.at(userObjectId);
    log(fmt::format(
        "stand-in simulator '{}' {} started: {} installed titles, user '{}' at {:.5f} {:.5f}, "
        "ground {:.0f} ft",
        scenario_.simulator.name, fmt::join(scenario_.simulator.version, "."), titles_.size(),
        placed.title, placed.latitude, placed.longitude, groundAt(placed)));
}

Status StandInSimulator::open(const std::string& clientName) {
    std::lock_guard lock(mutex_);
    if (quit_ || open_) return fail;  // the simulator has gone, or one client is enough
    open_ = true;
    const auto now = clock_->steadyNow();
    if (!worldStart_) worldStart_ = now;
    frameEpoch_ = now;
    framesSent_ = 0;
    announcedRunning_.reset();
    nextPacket();
    const auto& [name, version] = scenario_.simulator;
    queue_.push_back(OpenMessage{name, version[0], version[1], version[2], version[3]});
    log(fmt::format("client '{}' connected", clientName));
    return ok;
}

Status StandInSimulator::close() {
    std::lock_guard lock(mutex_);
    if (!open_) return fail;
    // AI objects live only as long as the client that made them.
    for (auto it = objects_.begin(); it != objects_.end();) {
        if (it->second.isUser) {
            ++it;
            continue;
        }
        log(fmt::format("removed {} '{}' (client closed)", it->first, it->second.tailNumber));
        it = objects_.erase(it);
    }
    definitions_.clear();
    mappedEvents_.clear();
    subscriptions_.clear();
    periodic_.clear();
    queue_.clear();
    open_ = false;
    log("client closed");
    tracks_.flush();
    return ok;
}

Status StandInSimulator::getLastSentPacketId(std::uint32_t& packetId) {
    std::lock_guard lock(mutex_);
    if (!usable()) return fail;
    packetId = packetId_;
    return ok;
}

Status StandInSimulator::addToDataDefinition(DefineId define, const std::string& variable,
                                             const std::string& unit, DataType type) {
    const auto operation = beginOperation();
    if (!operation) return fail;
    // The call itself succeeds; the refusal comes later as a message, as from the real one.
    switch (checkVariable(variable, unit)) {
        case VariableCheck::Known:
            definitions_[define].push_back({variable, unit, type});
            break;
        case VariableCheck::UnknownName:
            refuseName(fmt::format("variable '{}'", variable), 2);
            break;
        case VariableCheck::UnknownUnit:
            refuseName(fmt::format("unit '{}' of '{}'", unit, variable), 3);
            break;
    }
    return ok;
}

Status StandInSimulator::mapClientEventToSimEvent(ClientEventId event,
                                                  const std::string& simEventName) {
    const auto operation = beginOperation();
    if (!operation) return fail;
    if (!isKnownSimEvent(simEventName)) {
        refuseName(fmt::format("event '{}'", simEventName), 2);
        return ok;
    }
    mappedEvents_[event] = simEventName;
    return ok;
}

Status StandInSimulator::addClientEventToNotificationGroup(GroupId, ClientEventId event, bool) {
    const auto operation = beginOperation();
    if (!operation) return fail;
    if (!mappedEvents_.contains(event)) raise(exception::unrecognizedId, 2);
    return ok;
}

Status StandInSimulator::setNotificationGroupPriority(GroupId, std::uint32_t) {
    const auto operation = beginOperation();
    if (!operation) return fail;
    return ok;
}

Status StandInSimulator::subscribeToSystemEvent(ClientEventId event,
                                                const std::string& systemEventName) {
    const auto operation = beginOperation();
    if (!operation) return fail;
    const auto name = common::upperCase(systemEventName);
    if (std::find(std::begin(systemEvents), std::end(systemEvents), name) ==
        std::end(systemEvents)) {
        refuseName(fmt::format("system event '{}'", systemEventName), 2);
        return ok;
    }
    subscriptions_[name] = event;
    return ok;
}

void StandInSimulator::refreshUser() {
    auto& user = objects_.at(userObjectId);
    const auto pose = userPoseAt(scenario_, worldSeconds());
    user.latitude = pose.latitude;
    user.longitude = pose.longitude;
    user.heading = detail::radians(pose.headingDegrees);
    user.groundSpeedKnots = user.trueAirspeedKnots = pose.groundSpeedKnots;
    const double parked = groundAt(user) + user.staticCgFeet;
    user.altitudeFeet = pose.onGround ? parked : std::max(pose.altitudeFeet, parked);
    user.verticalSpeedFps = pose.verticalSpeedFps;
}

double StandInSimulator::worldSeconds() const {
    if (!worldStart_) return 0.0;
    return std::chrono::duration<double>(clock_->steadyNow() - *worldStart_).count();
}

double StandInSimulator::groundAt(const WorldObject& target) {
    return ground_.feetAt({target.latitude, target.longitude});
}

WorldObject* StandInSimulator::object(ObjectId id) {
    const auto found = objects_.find(id);
    return found == objects_.end() ? nullptr : &found->second;
}

std::optional<ClientEventId> StandInSimulator::subscription(const std::string& systemEvent) const {
    const auto found = subscriptions_.find(common::upperCase(systemEvent));
    if (found == subscriptions_.end()) return std::nullopt;
    return found->second;
}

std::unique_lock<std::mutex> StandInSimulator::beginOperation(Scripted scripted) {
    std::unique_lock lock(mutex_);
    if (!usable() || (scripted == Scripted::MayFail && consumeRequestFailure())) {
        lock.unlock();
        return lock;
    }
    nextPacket();
    return lock;
}

bool StandInSimulator::consumeRequestFailure() {
    if (!failNextRequest_) return false;
    failNextRequest_ = false;
    log("request refused, as the scenario asked");
    return true;
}

void StandInSimulator::raise(std::uint32_t code, std::uint32_t index) {
    queue_.push_back(ExceptionMessage{code, packetId_, index});
    log(fmt::format("exception {} for packet {}", code, packetId_));
}

void StandInSimulator::refuseName(std::string_view what, std::uint32_t index) {
    log(fmt::format("{} unrecognized", what));
    raise(exception::nameUnrecognized, index);
}

void StandInSimulator::log(std::string_view line) {
    log_.write(clock_->utcNow(), line);
}

void StandInSimulator::recordTrack(WorldObject& target) {
    const bool onGround = isOnGround(target, groundAt(target));
    tracks_.write(clock_->utcNow(), target, onGround);
    const auto now = clock_->steadyNow();
    tracks_.flushIfDue(now);
    extendTrail(target, onGround, now);
}

void StandInSimulator::logMove(WorldObject& target) {
    const auto now = clock_->steadyNow();
    if (target.moveLogged && now - target.lastMoveLogged < std::chrono::seconds(1)) return;
    target.moveLogged = true;
    target.lastMoveLogged = now;
    log(fmt::format("moved {} '{}' to {:.6f} {:.6f} {:.0f} ft heading {:.0f}", target.id,
                    target.tailNumber, target.latitude, target.longitude, target.altitudeFeet,
                    target.heading * 180.0 / std::numbers::pi));
}

}  // namespace corv::sim::standin
