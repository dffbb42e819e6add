// The simulator's messages, one at a time, on the client thread.

#include <algorithm>
#include <cmath>

#include <fmt/format.h>

#include "airports/AirportCatalogue.hpp"
#include "airports/ClosestAirport.hpp"
#include "common/ProgramIdentity.hpp"
#include "common/UserErrorException.hpp"
#include "common/ZuluTime.hpp"
#include "services/Log.hpp"
#include "services/MessageLine.hpp"
#include "services/RunState.hpp"
#include "settings/ParameterTable.hpp"
#include "sim/ConnectionCheck.hpp"
#include "sim/DefinitionData.hpp"
#include "sim/SimClient.hpp"
#include "status/DisplayState.hpp"
#include "status/WindowSeam.hpp"

namespace corv::sim {

namespace {
constexpr double teleportNm = 10.0;
constexpr double nearbyCeilingFeet = 2500.0;

bool nonZero(const common::GeoPoint& position) {
    return std::abs(position.latitude) > 0.0001 || std::abs(position.longitude) > 0.0001;
}

template <typename... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <typename... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;
}  // namespace

void SimClient::handleMessage(const SimMessage& message) {
    std::visit(
        Overloaded{
            [this](const ExceptionMessage& m) { onException(m); },
            [this](const OpenMessage& m) { onOpen(m); },
            [this](const QuitMessage&) { running_ = false; },
            [this](const EventMessage& m) { onEvent(m); },
            [this](const ObjectAddRemoveMessage& m) { onObjectAddRemove(m); },
            [this](const FilenameMessage&) {
                services::logMarked("SimConnect: New file event");
                rememberUserStand();
                newFlight();
            },
            [this](const FrameMessage&) { flushSimQueues(); },
            [this](const ObjectDataMessage& m) { onObjectData(m); },
            [this](const ObjectDataByTypeMessage& m) {
                if (m.requestId == request::nearbyAircraft) onNearbyAircraft(m);
            },
            [](const OtherMessage& m) {
                if (m.kind != messageKind::assignedObjectId && m.kind != messageKind::clientData) {
                    services::log("! Unknown Dispatch dwID {}", m.kind);
                }
            },
        },
        message);
}

void SimClient::onOpen(const OpenMessage& open) {
    if (open.applicationName.empty()) {
        services::log("! Simulator name empty?");
        return;
    }
    ctx_.display.update([](status::DisplaySnapshot& d) { d.simConnected = true; });
    repaintStatus();
    const std::string displayText = simulatorDisplayText(open);
    services::log("{} connected", displayText);
    ctx_.display.update(
        [&displayText](status::DisplaySnapshot& d) { d.simDisplayText = displayText; });
    repaintStatus();
    checkSimulatorVersion(displayText, settings::SIM_INSTALL_PATH.value(), expectedMajor_);
    ctx_.messages.clearMessage();
}

void SimClient::onEvent(const EventMessage& message) {
    switch (message.eventId) {
        case event::sim: {
            const bool running = message.data == 1;
            running_ = running;
            ctx_.display.update([running](status::DisplaySnapshot& d) { d.simRunning = running; });
            repaintStatus();
            break;
        }
        case event::positionChanged:
            services::logMarked("User ac position changed");
            newFlight();
            break;
        case event::flightLoaded:
            services::log("SimConnect: flight loaded event");
            rememberUserStand();
            newFlight();
            break;
        default:
            break;
    }
}

void SimClient::onObjectAddRemove(const ObjectAddRemoveMessage& message) {
    if (message.objectKind != ObjectKind::Aircraft) return;
    if (message.eventId == event::objectAdded) {
        if (message.objectId > userObjectId_) queues_.addedObjects.push_back(message.objectId);
    } else if (message.eventId == event::objectRemoved) {
        notices_.post({.objectId = message.objectId, .kind = SimNoticeKind::Removed});
    }
}

void SimClient::onException(const ExceptionMessage& message) {
    switch (message.exception) {
        case exception::unrecognizedId:
            if (userPositionKnown() && !ctx_.run.stopOrClosed()) {
                services::logMarked("SIMCONNECT_EXCEPTION_UNRECOGNIZED_ID");
            }
            break;
        case exception::versionMismatch:
            throw UserErrorException(
                95, fmt::format("SimConnect Version Mismatch, dwIndex: {}", message.index));
        case exception::tooManyObjects: {
            const std::string text = "SimConnect: too many objects (max 1000)";
            if (ctx_.messages.texts().error.empty()) {
                ctx_.messages.showMessage(text, true);
            } else {
                services::log(text);
            }
            break;
        }
        case exception::invalidDataSize:
            services::log("SIMCONNECT_EXCEPTION_INVALID_DATA_SIZE");
            break;
        case exception::createObjectFailed:
            onCreateFailed(message.sendId);
            break;
        case exception::loadFlightplanFailed:
            services::logMarked("SimConnect exception: load flight plan failed");
            break;
        case exception::operationInvalidForObjectType:
            services::log("SIMCONNECT_EXCEPTION_OPERATION_INVALID_FOR_OBJECT_TYPE");
            break;
        default:
            services::logMarked("SIMCONNECT_EXCEPTION #{}", message.exception);
            break;
    }
}

void SimClient::onCreateFailed(std::uint32_t packetId) {
    auto& pending = queues_.pending;
    const auto found = std::find_if(pending.begin(), pending.end(),
                                    [packetId](const auto& p) { return p.packetId == packetId; });
    if (found == pending.end()) return;
    const AircraftKey key = found->key;
    pending.erase(found);
    if (key != 0) notices_.post({.key = key, .kind = SimNoticeKind::CreateFailed});
}

void SimClient::onObjectData(const ObjectDataMessage& message) {
    switch (message.requestId) {
        case request::staticCg: {
            DefinitionReader data(message.data);
            const double cgToGround = data.float64();
            const double pitch = data.float64();
            notices_.post({.objectId = message.objectId,
                           .kind = SimNoticeKind::StaticCg,
                           .first = cgToGround,
                           .second = pitch});
            break;
        }
        case request::userTitle:
            onUserTitle(message);
            break;
        case request::userModel:
            onUserModel(message);
            break;
        case request::userOnGround:
            onUserOnGround(message);
            break;
        case request::userState:
            onUserState(message);
            break;
        default:
            break;
    }
}

void SimClient::onUserState(const ObjectDataMessage& message) {
    DefinitionReader data(message.data);
    UserAircraftState state;
    state.latitude = data.float64();
    state.longitude = data.float64();
    state.pitch = data.float64();
    state.bank = data.float64();
    state.heading = data.float64();
    state.altitudeFeet = std::max(data.float64(), 0.0);
    state.indicatedAltitude = data.float64();
    state.altitudeAboveGround = data.float64();
    state.groundVelocity = data.float64();
    state.zuluTime = data.int64();
    state.zuluDayOfYear = data.int64();
    state.zuluYear = data.int64();
    state.lightStates = data.int64();

    const common::GeoPoint position{state.latitude, state.longitude};
    common::GeoPoint previous;
    {
        std::lock_guard lock(stateMutex_);
        state.onGround = user_.onGround;
        user_ = state;
        previous = previousPosition_;
        previousPosition_ = position;
    }
    if (nonZero(previous) && nonZero(position) &&
        common::distanceNm(previous, position) > teleportNm) {
        services::log("Teleport");
        newFlight();
    }

    const airports::NearestStandLookup noStands = [](const airports::AirportCode&,
                                                     const common::GeoPoint&, std::string&) {
        return airports::noStandDistanceNm;
    };
    const airports::CatalogueAirport* closest = closestSearch_.update(
        ctx_.catalogue, position, ctx_.nearestStand ? ctx_.nearestStand : noStands);
    const std::string name = closest != nullptr ? airports::airportLabel(*closest) : std::string();
    bool changed = false;
    {
        std::lock_guard lock(stateMutex_);
        changed = name != closestAirport_;
        closestAirport_ = name;
    }
    if (changed) repaintStatus();

    simulatorUtcSeconds_ =
        common::unixSecondsFromZulu(state.zuluYear, state.zuluDayOfYear, state.zuluTime);
    userObjectId_ = message.objectId;
}

void SimClient::onUserOnGround(const ObjectDataMessage& message) {
    const bool onGround = DefinitionReader(message.data).int64() != 0;
    if (userPositionKnown()) {
        {
            std::lock_guard lock(stateMutex_);
            user_.onGround = onGround;
        }
        groundStateKnown_ = true;
    }
    // The simulator's second paces the run's slower schedules.
    ctx_.run.secondTick = true;
}

void SimClient::onUserTitle(const ObjectDataMessage& message) {
    const std::string title = DefinitionReader(message.data).stringV();
    std::string shown;
    {
        std::lock_guard lock(stateMutex_);
        if (!applyUserTitle(identity_, title)) return;
        shown = identity_.title;
    }
    ctx_.display.update([&shown](status::DisplaySnapshot& d) { d.userTitle = shown; });
    repaintStatus();
}

void SimClient::onUserModel(const ObjectDataMessage& message) {
    std::string model;
    try {
        model = DefinitionReader(message.data).string32();
    } catch (const std::exception&) {
        throw UserErrorException(73,
                                 "It looks like you have not selected an aircraft as user vehicle");
    }
    UserAircraftIdentity identity = userIdentity();
    applyUserModel(identity, model, ctx_.referenceData, ctx_.messages);
    {
        std::lock_guard lock(stateMutex_);
        identity_ = identity;
    }
    ctx_.display.update(
        [&identity](status::DisplaySnapshot& d) { d.userWingspanFound = identity.wingspanFound; });
    repaintStatus();
}

void SimClient::onNearbyAircraft(const ObjectDataByTypeMessage& message) {
    const ObjectId object = message.objectId;
    if (object <= userObjectId_) return;
    DefinitionReader data(message.data);
    const double aboveGround = data.float64();
    const double groundAltitude = data.float64();
    const std::int64_t onGround = data.int64();
    const std::string atcId = data.string32();

    auto& added = queues_.addedObjects;
    const auto isNew = std::find(added.begin(), added.end(), object);
    if (isNew == added.end()) {
        // An object known before: someone else's traffic near the user, or one of ours.
        if (aboveGround > nearbyCeilingFeet || atcId.empty() || atcId.ends_with('*')) return;
        notices_.post({.objectId = object,
                       .key = static_cast<std::int32_t>(onGround),
                       .kind = SimNoticeKind::NearbyAircraft,
                       .first = groundAltitude,
                       .second = aboveGround});
        return;
    }
    added.erase(isNew);

    auto& pending = queues_.pending;
    const auto match =
        atcId.empty()
            ? pending.end()
            : std::find_if(pending.begin(), pending.end(),
                           [&atcId](const PendingCreation& p) { return p.tailNumber == atcId; });
    if (match == pending.end()) {
        services::log(
            "just spawned, but not by {}, oid: {}, callsign '{}', altaboveGnd:{:.0f} ft, "
            "onground:{}, gnd_alt:{:.0f} ft",
            programName, object, atcId, aboveGround, onGround, groundAltitude);
        return;
    }
    const AircraftKey key = match->key;
    pending.erase(match);
    {
        // Only the program moves its aircraft: take them from the simulator's AI and freeze them.
        std::lock_guard lock(queues_.simLock());
        ops_->aiReleaseControl(object, request::releaseControl);
        queues_.events.push_back({object, event::freezeLatLonSet, 1});
        queues_.events.push_back({object, event::freezeAltitudeSet, 1});
        queues_.events.push_back({object, event::freezeAttitudeSet, 1});
    }
    if (isLiveKey(key)) {
        notices_.post({.objectId = object,
                       .key = key,
                       .kind = SimNoticeKind::LiveSpawned,
                       .second = aboveGround});
    } else {
        notices_.post({.objectId = object, .key = key, .kind = SimNoticeKind::StaticSpawned});
    }
}

}  // namespace corv::sim
