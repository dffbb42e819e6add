#include "sim/SimSetup.hpp"

#include <array>
#include <string_view>
#include <utility>

#include "sim/SimIds.hpp"

namespace corv::sim {

namespace {

struct Datum {
    std::string_view variable;
    std::string_view unit;
    DataType type = DataType::Float64;
};

struct Definition {
    DefineId id;
    std::initializer_list<Datum> data;
};

struct ClientEvent {
    ClientEventId id;
    std::string_view name;
};

}  // namespace

int declareSimSetup(SimOperations& ops) {
    // The packing of every reply follows the order of the variables here.
    const std::array<Definition, 9> definitions{{
        {define::userTitle, {{"TITLE", "", DataType::StringV}}},
        {define::userModel, {{"ATC MODEL", "", DataType::String32}}},
        {define::userOnGround, {{"SIM ON GROUND", "Bool", DataType::Int64}}},
        {define::aiPosition,
         {{"Plane Latitude", "degree"},
          {"Plane Longitude", "degree"},
          {"Plane Pitch degrees", "radians"},
          {"Plane Bank degrees", "radians"},
          {"Plane Heading degrees true", "radians"},
          {"Plane Altitude", "feet"},
          {"Vertical Speed", "feet per second"},
          {"Airspeed True", "knots"}}},
        {define::userState,
         {{"Plane Latitude", "degree"},
          {"Plane Longitude", "degree"},
          {"Plane Pitch degrees", "radians"},
          {"Plane Bank degrees", "radians"},
          {"Plane Heading degrees true", "radians"},
          {"Plane Altitude", "feet"},
          {"Indicated Altitude", "feet"},
          {"Plane Alt Above Ground", "feet"},
          {"Ground Velocity", "knots"},
          {"ZULU TIME", "Seconds", DataType::Int64},
          {"ZULU DAY OF YEAR", "Number", DataType::Int64},
          {"ZULU YEAR", "Number", DataType::Int64},
          {"LIGHT STATES", "Mask", DataType::Int64}}},
        {define::staticCg, {{"Static CG to Ground", "feet"}, {"Static Pitch", "radians"}}},
        {define::lightOnStates, {{"Light On States", "Mask", DataType::Int64}}},
        {define::nearbyAircraft,
         {{"Plane Alt Above Ground", "feet"},
          {"Ground Altitude", "feet"},
          {"SIM ON GROUND", "Bool", DataType::Int64},
          {"ATC ID", "", DataType::String32}}},
        {define::landingRoll,
         {{"SPOILERS HANDLE POSITION", "percent"},
          {"GENERAL ENG THROTTLE LEVER POSITION:1", "percent"},
          {"GENERAL ENG THROTTLE LEVER POSITION:2", "percent"}}},
    }};
    const std::array<ClientEvent, 17> clientEvents{{
        {event::gearSet, "GEAR_SET"},
        {event::engineAutoStart, "ENGINE_AUTO_START"},
        {event::engineAutoShutdown, "ENGINE_AUTO_SHUTDOWN"},
        {event::throttleSet, "THROTTLE_SET"},
        {event::flapsSet, "FLAPS_SET"},
        {event::spoilersSet, "SPOILERS_SET"},
        {event::navLightsSet, "NAV_LIGHTS_SET"},
        {event::beaconLightsSet, "BEACON_LIGHTS_SET"},
        {event::landingLightsSet, "LANDING_LIGHTS_SET"},
        {event::taxiLightsSet, "TAXI_LIGHTS_SET"},
        {event::strobesSet, "STROBES_SET"},
        {event::logoLightsSet, "LOGO_LIGHTS_SET"},
        {event::cabinLightsSet, "CABIN_LIGHTS_SET"},
        {event::allLightsToggle, "ALL_LIGHTS_TOGGLE"},
        {event::freezeLatLonSet, "FREEZE_LATITUDE_LONGITUDE_SET"},
        {event::freezeAltitudeSet, "FREEZE_ALTITUDE_SET"},
        {event::freezeAttitudeSet, "FREEZE_ATTITUDE_SET"},
    }};
    // Every client event but the engine start joins the group, in this order.
    const std::array<ClientEventId, 16> grouped{
        event::navLightsSet,     event::beaconLightsSet, event::landingLightsSet,
        event::taxiLightsSet,    event::strobesSet,      event::logoLightsSet,
        event::cabinLightsSet,   event::allLightsToggle, event::flapsSet,
        event::spoilersSet,      event::gearSet,         event::engineAutoShutdown,
        event::throttleSet,      event::freezeLatLonSet, event::freezeAltitudeSet,
        event::freezeAttitudeSet};
    const std::array<ClientEvent, 6> subscriptions{{
        {event::sim, "Sim"},
        {event::objectAdded, "ObjectAdded"},
        {event::objectRemoved, "ObjectRemoved"},
        {event::positionChanged, "PositionChanged"},
        {event::flightLoaded, "FlightLoaded"},
        {event::frame, "Frame"},
    }};

    int failures = 0;
    const auto count = [&failures](Status status) { failures += failed(status) ? 1 : 0; };
    for (const Definition& definition : definitions) {
        for (const Datum& datum : definition.data) {
            count(ops.addToDataDefinition(definition.id, std::string(datum.variable),
                                          std::string(datum.unit), datum.type));
        }
    }
    for (const ClientEvent& clientEvent : clientEvents) {
        count(ops.mapClientEventToSimEvent(clientEvent.id, std::string(clientEvent.name)));
    }
    for (const ClientEventId id : grouped) {
        count(ops.addClientEventToNotificationGroup(notificationGroup, id, true));
    }
    count(ops.setNotificationGroupPriority(notificationGroup, 1));
    for (const ClientEvent& subscription : subscriptions) {
        count(ops.subscribeToSystemEvent(subscription.id, std::string(subscription.name)));
    }
    return failures;
}

}  // namespace corv::sim
