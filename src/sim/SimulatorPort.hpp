#pragma once

#include <cstdint>
#include <string>

namespace corv::sim {

// The user aircraft as the simulator last reported it.
struct UserAircraftState {
    double latitude = 0.0;             // degrees
    double longitude = 0.0;            // degrees
    double pitch = 0.0;                // radians, negative is nose up
    double bank = 0.0;                 // radians
    double heading = 0.0;              // radians, true
    double altitudeFeet = 0.0;         // 0 when the simulator reports a negative altitude
    double indicatedAltitude = 0.0;    // feet
    double altitudeAboveGround = 0.0;  // feet
    double groundVelocity = 0.0;       // knots
    std::int64_t zuluTime = 0;         // seconds of the day
    std::int64_t zuluDayOfYear = 0;
    std::int64_t zuluYear = 0;
    std::int64_t lightStates = 0;
    bool onGround = true;  // from the once-a-second on-ground reply
};

// What the run asks of the simulator client.
class SimulatorPort {
  public:
    virtual ~SimulatorPort() = default;

    // Tells the client which Prepar3D major version ("5" or "6") must connect.
    virtual void expectMajorVersion(const std::string& major) = 0;
    // Starts the client thread; a client thread of the previous run is stopped and joined first.
    virtual void startClient() = 0;
    // Waits until the simulator is connected and its flight runs; false when a stop was
    // requested meanwhile.
    virtual bool handshake() = 0;
    // Asks the client thread to close the connection and end; does not wait.
    virtual void stopClient() = 0;

    virtual bool flightRunning() const = 0;
    virtual bool hasError() const = 0;
    // Drops the queued positions and events while the flight does not run.
    virtual void clearQueues() = 0;

    virtual UserAircraftState userAircraft() const = 0;
    // Asks the simulator for a fresh user aircraft state (the reply comes later) and returns the
    // last one known. The run calls it once a second.
    virtual UserAircraftState requestUserState() { return userAircraft(); }
    // Flags, queues and the user position back to their start values, before a new run.
    virtual void resetRunState() = 0;

    // The folder of the flight plan files of live aircraft, made at the start of a run and
    // removed with its content at its end.
    virtual void createFlightPlanFolder() = 0;
    virtual void removeFlightPlanFolder() = 0;
};

}  // namespace corv::sim
