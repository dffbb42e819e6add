// The requests the run and the traffic logic make directly, and the frame flush of the queues.

#include <array>
#include <chrono>
#include <span>

#include "common/GreatCircle.hpp"
#include "services/Log.hpp"
#include "services/MessageLine.hpp"
#include "services/TimeText.hpp"
#include "settings/ParameterTable.hpp"
#include "sim/FlightPlans.hpp"
#include "sim/SimClient.hpp"

namespace corv::sim {

UserAircraftState SimClient::requestUserState() {
    {
        std::lock_guard lock(queues_.simLock());
        if (connected_ && !error_ &&
            failed(ops_->requestDataOnSimObject(request::userState, define::userState, 0,
                                                Period::Once))) {
            requestError("SimConnect request user ac position fails");
        }
    }
    return userAircraft();
}

void SimClient::requestUserOnGround() {
    std::lock_guard lock(queues_.simLock());
    if (connected_ && failed(ops_->requestDataOnSimObject(
                          request::userOnGround, define::userOnGround, 0, Period::Second))) {
        requestError("SimConnect request ac gnd/air fails");
    }
}

void SimClient::requestUserTitleAndModel() {
    std::lock_guard lock(queues_.simLock());
    if (!connected_) return;
    if (failed(
            ops_->requestDataOnSimObject(request::userTitle, define::userTitle, 0, Period::Once))) {
        requestError("SimConnect request user ac title fails");
    }
    if (failed(
            ops_->requestDataOnSimObject(request::userModel, define::userModel, 0, Period::Once))) {
        requestError("SimConnect reques user ac model fails");
    }
}

void SimClient::requestNearbyAircraft() {
    std::lock_guard lock(queues_.simLock());
    if (!connected_ || error_) return;
    // The traffic radius in force is the setting itself, whoever changed it last.
    const auto radius = static_cast<std::uint32_t>(settings::RANGE.value() * common::metresPerNm);
    if (failed(ops_->requestDataOnSimObjectType(request::nearbyAircraft, define::nearbyAircraft,
                                                radius, SimObjectType::Aircraft))) {
        requestError("SimConnect request ac within range fails");
    }
}

void SimClient::requestStaticCg(ObjectId object) {
    std::lock_guard lock(queues_.simLock());
    if (connected_ && failed(ops_->requestDataOnSimObject(request::staticCg, define::staticCg,
                                                          object, Period::Once))) {
        requestError("SimConnect request StaticCG fails");
    }
}

bool SimClient::setFlightPlan(ObjectId object, const std::string& origin,
                              const std::string& destination, int category,
                              const std::string& description) {
    if (origin.empty() || destination.empty()) return false;
    const std::filesystem::path file = flightPlanFile(flightPlanFolder_, object);
    if (!writeFlightPlanFile(file, flightPlanText(origin, destination, category))) return false;
    std::lock_guard lock(queues_.simLock());
    if (!connected_) return false;
    if (failed(ops_->aiSetAircraftFlightPlan(object, file.string(), request::flightPlan))) {
        services::log("{} creating a flight plan failed", description);
        return false;
    }
    return true;
}

void SimClient::removeFlightPlan(ObjectId object) {
    gf_removeFlightPlan(flightPlanFolder_, object);
}

bool SimClient::writeLandingRoll(ObjectId object, double spoilers, double throttle) {
    const std::array<double, 3> values{spoilers, throttle, throttle};
    std::lock_guard lock(queues_.simLock());
    return connected_ && !failed(ops_->setDataOnSimObject(define::landingRoll, object,
                                                          std::as_bytes(std::span(values))));
}

void SimClient::flushSimQueues() {
    // Never wait here: a busy lock costs one frame, not a stall of the message flow.
    std::unique_lock lock(queues_.simLock(), std::try_to_lock);
    if (!lock.owns_lock()) return;
    if (error_) {
        queues_.sendBuffer.clear();
        queues_.events.clear();
        queues_.creations.clear();
        queues_.removals.clear();
        return;
    }
    const ObjectId user = userObjectId_;
    for (const PositionUpdate& update : queues_.sendBuffer) {
        if (update.objectId <= user) continue;
        const std::array<double, 8> values = update.values();
        ops_->setDataOnSimObject(define::aiPosition, update.objectId,
                                 std::as_bytes(std::span(values)));
    }
    queues_.sendBuffer.clear();

    for (const ClientEventRequest& request : queues_.events) {
        const bool flaps = request.event == event::flapsSet;
        // The simulator's AI would otherwise move the flaps back at once.
        if (flaps) ops_->aiReleaseControl(request.objectId, request::releaseControl);
        if (failed(ops_->transmitClientEvent(request.objectId, request.event, request.data,
                                             notificationGroup))) {
            ctx_.messages.showMessage(
                fmt::format("SimConnect TransmitClientEvent: {} fails", request.event), true);
        } else if (flaps) {
            ops_->aiReleaseControl(request.objectId, request::releaseControl);
        }
    }
    queues_.events.clear();

    for (const CreationRequest& request : queues_.creations)
        create(request);
    queues_.creations.clear();
    for (const ObjectId object : queues_.removals)
        remove(object);
    queues_.removals.clear();
}

void SimClient::create(const CreationRequest& request) {
    if (failed(ops_->aiCreateNonAtcAircraft(request.liveryTitle, request.tailNumber,
                                            request.position, request::createAircraft))) {
        services::logMarked(
            "! Simcon call to create ac in sim failed, hexid:{}, liv: '{}', callsign: {})",
            request.key, request.liveryTitle, request.tailNumber);
        requestError({});
        return;
    }
    std::uint32_t packetId = 0;
    if (failed(ops_->getLastSentPacketId(packetId))) {
        services::logMarked("GetLastSentPacketID");
        packetId = 0;
    }
    queues_.pending.push_back({packetId, request.key, request.tailNumber});
}

void SimClient::remove(ObjectId object) {
    // The user's aircraft and the objects older than it are not the program's to remove.
    if (object <= userObjectId_) {
        services::logMarked("SimConnect call to remove ac with objectid {}", object);
        return;
    }
    if (failed(ops_->aiRemoveObject(object, request::removeAircraft))) {
        services::logMarked("{} !SimConnect call to remove AI ac from sim failed, id {}?",
                            services::timeText(std::chrono::system_clock::now()), object);
        requestError({});
    }
}

}  // namespace corv::sim
