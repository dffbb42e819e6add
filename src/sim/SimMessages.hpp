#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace corv::sim {

using ObjectId = std::uint32_t;
using RequestId = std::uint32_t;

// The messages the simulator hands over through dispatch.

struct OpenMessage {
    std::string applicationName;
    std::uint32_t versionMajor = 0;
    std::uint32_t versionMinor = 0;
    std::uint32_t buildMajor = 0;
    std::uint32_t buildMinor = 0;
};

struct QuitMessage {};

// A subscribed system event or a client event of the notification group.
struct EventMessage {
    std::uint32_t eventId = 0;
    std::uint32_t data = 0;
};

enum class ObjectKind { User, Aircraft, Helicopter, Boat, Ground, Other };

struct ObjectAddRemoveMessage {
    std::uint32_t eventId = 0;  // the subscription: object added or removed
    ObjectId objectId = 0;
    ObjectKind objectKind = ObjectKind::Other;
};

struct FilenameMessage {
    std::uint32_t eventId = 0;
    std::string fileName;
};

struct FrameMessage {
    std::uint32_t eventId = 0;
    float frameRate = 0.0f;
    float simulationSpeed = 1.0f;
};

// The reply to a data request: the definition's variables packed in the order they were added.
struct ObjectDataMessage {
    RequestId requestId = 0;
    ObjectId objectId = 0;
    std::uint32_t defineId = 0;
    std::vector<std::byte> data;
};

// One object of a by-type request.
struct ObjectDataByTypeMessage {
    RequestId requestId = 0;
    ObjectId objectId = 0;
    std::uint32_t defineId = 0;
    std::uint32_t entryNumber = 0;  // 1-based
    std::uint32_t outOf = 0;
    std::vector<std::byte> data;
};

// The simulator refused a call: sendId is the call's packet id, index the offending argument.
struct ExceptionMessage {
    std::uint32_t exception = 0;
    std::uint32_t sendId = 0;
    std::uint32_t index = 0;
};

// The simulator's exception codes the program handles or the stand-in simulator raises.
namespace exception {
inline constexpr std::uint32_t unrecognizedId = 3;
inline constexpr std::uint32_t versionMismatch = 5;
inline constexpr std::uint32_t nameUnrecognized = 7;  // a variable, unit or event name
inline constexpr std::uint32_t tooManyObjects = 11;
inline constexpr std::uint32_t invalidDataSize = 19;
inline constexpr std::uint32_t createObjectFailed = 22;
inline constexpr std::uint32_t loadFlightplanFailed = 23;
inline constexpr std::uint32_t operationInvalidForObjectType = 24;
}  // namespace exception

// Message kinds the program does not handle, by their number.
struct OtherMessage {
    std::uint32_t kind = 0;
};

using SimMessage = std::variant<OpenMessage, QuitMessage, EventMessage, ObjectAddRemoveMessage,
                                FilenameMessage, FrameMessage, ObjectDataMessage,
                                ObjectDataByTypeMessage, ExceptionMessage, OtherMessage>;

}  // namespace corv::sim
