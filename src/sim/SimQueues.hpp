#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "sim/SimNotice.hpp"
#include "sim/SimOperations.hpp"

namespace corv::sim {

// One AI aircraft to create.
struct CreationRequest {
    InitPosition position;
    std::string tailNumber;  // the ATC id by which the new object is recognised
    std::string liveryTitle;
    AircraftKey key = 0;
};

// A create call sent and not yet answered; packet id 0 when it could not be read.
struct PendingCreation {
    std::uint32_t packetId = 0;
    AircraftKey key = 0;
    std::string tailNumber;
};

// The values of the AI position definition, in its order, for one object.
struct PositionUpdate {
    double latitude = 0.0;       // degrees
    double longitude = 0.0;      // degrees
    double pitch = 0.0;          // radians
    double bank = 0.0;           // radians
    double heading = 0.0;        // radians
    double altitude = 0.0;       // feet
    double verticalSpeed = 0.0;  // feet per second
    double trueAirspeed = 0.0;   // knots
    ObjectId objectId = 0;

    std::array<double, 8> values() const {
        return {latitude, longitude, pitch, bank, heading, altitude, verticalSpeed, trueAirspeed};
    }
};

struct ClientEventRequest {
    ObjectId objectId = 0;
    ClientEventId event = 0;
    std::uint32_t data = 0;
};

// What the traffic logic has asked of the simulator and the simulator client sends at the next
// frame. Appends wait for simLock; the position hand-over and the frame flush only try it, so
// neither the run cycle nor the simulator's message flow stalls on the other.
class SimQueues {
  public:
    static constexpr std::size_t reservedEntries = 256;

    // Run cycle side.
    void queueCreation(CreationRequest request);
    void queueEvent(ObjectId object, ClientEventId event, std::uint32_t data);
    void queueRemoval(ObjectId object);
    // The fill buffer belongs to the run cycle alone: no lock.
    void addPosition(const PositionUpdate& update) { fillBuffer_.push_back(update); }
    // Hands this tick's positions to the sender. When the lock is busy they are dropped: only
    // the newest complete set matters.
    void handOverPositions();
    // The flight does not run: queued positions and events are stale.
    void clearPositionsAndEvents();
    // Empties everything for a new run and reserves room, so the first aircraft do not
    // reallocate.
    void resetForRun();

    // Simulator client side, under simLock.
    std::mutex& simLock() { return simLock_; }
    std::vector<CreationRequest> creations;
    std::vector<ClientEventRequest> events;
    std::vector<ObjectId> removals;
    std::vector<PositionUpdate> sendBuffer;
    // Written only by the simulator client thread.
    std::vector<PendingCreation> pending;
    std::vector<ObjectId> addedObjects;

  private:
    std::mutex simLock_;
    std::vector<PositionUpdate> fillBuffer_;
};

}  // namespace corv::sim
