#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "sim/SimMessages.hpp"

namespace corv::sim {

// A status as the simulator reports it: negative is a failure.
using Status = std::int32_t;
inline bool failed(Status status) {
    return status < 0;
}

using DefineId = std::uint32_t;
using ClientEventId = std::uint32_t;
using GroupId = std::uint32_t;

// How a variable of a data definition is packed.
enum class DataType {
    Float64,   // 8 bytes
    Int64,     // 8 bytes
    String32,  // 32 bytes, zero-padded
    StringV,   // zero-terminated, variable length
};

enum class Period { Once, Second };

enum class SimObjectType { User, Aircraft, Helicopter, Boat, Ground };

// Where a new AI aircraft starts.
struct InitPosition {
    double latitude = 0.0;   // degrees
    double longitude = 0.0;  // degrees
    double altitude = 0.0;   // feet
    double pitch = 0.0;      // degrees
    double bank = 0.0;       // degrees
    double heading = 0.0;    // degrees
    bool onGround = false;
    std::uint32_t airspeed = 0;  // knots
};

// Every operation the program performs on the simulator, in the simulator's own terms. The
// program's logic is written against this; a simulator adapter or the stand-in simulator
// implements it.
//
// Threads: calls come at the same time from the run cycle (requests, set data, events) and from
// the simulator client thread (dispatch, the frame's queued work), and also from inside the
// message handler that dispatch runs. An implementation must take every call from any of these
// threads, and calls made from within dispatch, without deadlocking or reordering one thread's
// calls; messages are handed out only through dispatch, on the thread that calls it.
class SimOperations {
  public:
    virtual ~SimOperations() = default;

    virtual Status open(const std::string& clientName) = 0;
    virtual Status close() = 0;

    virtual Status addToDataDefinition(DefineId define, const std::string& variable,
                                       const std::string& unit, DataType type) = 0;
    virtual Status mapClientEventToSimEvent(ClientEventId event,
                                            const std::string& simEventName) = 0;
    virtual Status addClientEventToNotificationGroup(GroupId group, ClientEventId event,
                                                     bool maskable) = 0;
    virtual Status setNotificationGroupPriority(GroupId group, std::uint32_t priority) = 0;
    virtual Status subscribeToSystemEvent(ClientEventId event,
                                          const std::string& systemEventName) = 0;

    // Object 0 is the user aircraft.
    virtual Status requestDataOnSimObject(RequestId request, DefineId define, ObjectId object,
                                          Period period) = 0;
    virtual Status requestDataOnSimObjectType(RequestId request, DefineId define,
                                              std::uint32_t radiusMetres, SimObjectType type) = 0;
    // The data are the definition's variables packed in the order they were added.
    virtual Status setDataOnSimObject(DefineId define, ObjectId object,
                                      std::span<const std::byte> data) = 0;
    virtual Status transmitClientEvent(ObjectId object, ClientEventId event, std::uint32_t data,
                                       GroupId group) = 0;

    virtual Status aiCreateNonAtcAircraft(const std::string& containerTitle,
                                          const std::string& tailNumber,
                                          const InitPosition& position, RequestId request) = 0;
    virtual Status aiReleaseControl(ObjectId object, RequestId request) = 0;
    virtual Status aiRemoveObject(ObjectId object, RequestId request) = 0;
    virtual Status aiSetAircraftFlightPlan(ObjectId object, const std::string& flightPlanPath,
                                           RequestId request) = 0;

    // The packet id of the call just sent; an exception names the call by it.
    virtual Status getLastSentPacketId(std::uint32_t& packetId) = 0;

    // Hands every waiting message to the handler, on the calling thread.
    virtual Status callDispatch(const std::function<void(const SimMessage&)>& handler) = 0;
};

}  // namespace corv::sim
