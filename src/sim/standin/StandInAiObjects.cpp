#include "sim/standin/StandInSimulator.hpp"

#include <algorithm>
#include <fstream>
#include <iterator>

#include <fmt/format.h>

#include "sim/standin/StandInCommon.hpp"
#include "sim/standin/StandInEvents.hpp"

// AI objects: creation from installed titles, release, client events, flight plans, removal.
namespace corv::sim::standin {

using detail::fail;
using detail::ok;

namespace {

// A plausible parked height of the centre of gravity by the aircraft's weight.
double staticCgFeet(double maxGrossWeightLbs) {
    if (maxGrossWeightLbs <= 0.0) return 9.0;  // unknown: an airliner
    if (maxGrossWeightLbs < 15000.0) return 4.5;
    if (maxGrossWeightLbs < 100000.0) return 6.5;
    if (maxGrossWeightLbs < 400000.0) return 9.0;
    return 14.0;
}

// Light aircraft sit nose up on their gear (negative pitch is nose up); airliners stand level.
double staticPitch(double maxGrossWeightLbs) {
    return maxGrossWeightLbs > 0.0 && maxGrossWeightLbs < 15000.0 ? -0.035 : 0.0;
}

std::string elementText(const std::string& text, const std::string& element) {
    const auto open = "<" + element + ">";
    const auto start = text.find(open);
    if (start == std::string::npos) return {};
    const auto from = start + open.size();
    const auto end = text.find("</" + element + ">", from);
    if (end == std::string::npos) return {};
    auto value = text.substr(from, end - from);
    value.erase(0, value.find_first_not_of(' '));
    value.erase(value.find_last_not_of(' ') + 1);
    return value;
}

}  // namespace

Status StandInSimulator::transmitClientEvent(ObjectId objectId, ClientEventId event,
                                             std::uint32_t data, GroupId) {
    const auto operation = beginOperation();
    if (!operation) return fail;
    const auto mapped = mappedEvents_.find(event);
    if (mapped == mappedEvents_.end()) {
        raise(exception::unrecognizedId, 2);
        return ok;
    }
    WorldObject* target = knownObject(objectId, 1);
    if (target == nullptr) return ok;
    const bool known = applySimEvent(*target, mapped->second, data);
    log(fmt::format("event {} {} on {} '{}'{}", mapped->second, static_cast<std::int32_t>(data),
                    target->id, target->tailNumber, known ? "" : " (not simulated)"));
    return ok;
}

Status StandInSimulator::aiCreateNonAtcAircraft(const std::string& containerTitle,
                                                const std::string& tailNumber,
                                                const InitPosition& position, RequestId) {
    const auto operation = beginOperation();
    if (!operation) return fail;
    if (objects_.size() - 1 >= maxAiObjects) {
        raise(exception::tooManyObjects, 0);
        log(fmt::format("creation of '{}' refused: too many objects", containerTitle));
        return ok;
    }
    const auto installed = titles_.find(containerTitle);
    if (installed == titles_.end()) {
        raise(exception::createObjectFailed, 1);
        log(fmt::format("creation of '{}' refused: title not installed", containerTitle));
        return ok;
    }
    WorldObject created;
    created.id = nextObjectId_++;
    created.title = containerTitle;
    created.atcModel = installed->second.atcModel;
    created.tailNumber = tailNumber;
    created.latitude = position.latitude;
    created.longitude = position.longitude;
    created.pitch = detail::radians(position.pitch);
    created.bank = detail::radians(position.bank);
    created.heading = detail::radians(position.heading);
    created.trueAirspeedKnots = created.groundSpeedKnots = position.airspeed;
    created.staticCgFeet = staticCgFeet(installed->second.maxGrossWeightLbs);
    created.staticPitch = staticPitch(installed->second.maxGrossWeightLbs);
    // The simulator puts an object on its wheels, and never below the ground.
    const double parked = groundAt(created) + created.staticCgFeet;
    created.altitudeFeet = position.onGround ? parked : std::max(position.altitude, parked);
    const auto id = created.id;
    recordTrack(objects_.emplace(id, created).first->second);
    log(fmt::format("created {} '{}' tail '{}' at {:.6f} {:.6f} {:.0f} ft{}", id, containerTitle,
                    tailNumber, created.latitude, created.longitude, created.altitudeFeet,
                    position.onGround ? " on the ground" : ""));
    if (const auto added = subscription("ObjectAdded")) {
        queue_.push_back(ObjectAddRemoveMessage{*added, id, ObjectKind::Aircraft});
    }
    return ok;
}

WorldObject* StandInSimulator::aiObject(ObjectId objectId) {
    WorldObject* target = object(objectId);
    if (target != nullptr && !target->isUser) return target;
    // The user's own aircraft is no AI object: the real simulator refuses it the same way.
    raise(target == nullptr ? exception::unrecognizedId : exception::operationInvalidForObjectType,
          1);
    return nullptr;
}

Status StandInSimulator::aiReleaseControl(ObjectId objectId, RequestId) {
    const auto operation = beginOperation();
    if (!operation) return fail;
    WorldObject* target = aiObject(objectId);
    if (target == nullptr) {
        return ok;
    }
    target->aiControlled = false;
    log(fmt::format("released {} '{}'", target->id, target->tailNumber));
    return ok;
}

Status StandInSimulator::aiRemoveObject(ObjectId objectId, RequestId) {
    const auto operation = beginOperation();
    if (!operation) return fail;
    WorldObject* target = aiObject(objectId);
    if (target == nullptr) {
        log(fmt::format("removal of {} refused", objectId));
        return ok;
    }
    log(fmt::format("removed {} '{}'", target->id, target->tailNumber));
    objects_.erase(objectId);
    if (const auto removed = subscription("ObjectRemoved")) {
        queue_.push_back(ObjectAddRemoveMessage{*removed, objectId, ObjectKind::Aircraft});
    }
    return ok;
}

Status StandInSimulator::aiSetAircraftFlightPlan(ObjectId objectId,
                                                 const std::string& flightPlanPath, RequestId) {
    const auto operation = beginOperation();
    if (!operation) return fail;
    WorldObject* target = aiObject(objectId);
    if (target == nullptr) {
        return ok;
    }
    std::ifstream in(flightPlanPath, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in || text.find("<FlightPlan.FlightPlan>") == std::string::npos) {
        raise(exception::loadFlightplanFailed, 2);
        log(fmt::format("flight plan {} of {} could not be loaded", flightPlanPath, objectId));
        return ok;
    }
    target->departure = elementText(text, "DepartureID");
    target->destination = elementText(text, "DestinationID");
    log(fmt::format("flight plan {} of {} '{}': {} -> {}", flightPlanPath, objectId,
                    target->tailNumber, target->departure, target->destination));
    return ok;
}

}  // namespace corv::sim::standin
