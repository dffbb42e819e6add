#pragma once

#include <string>

namespace corv::sim {

// The user aircraft as the simulator last reported it.
struct UserAircraftState {
    double latitude = 0.0;   // degrees
    double longitude = 0.0;  // degrees
    double altitudeFeet = 0.0;
    bool onGround = true;
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
    // Flags, queues and the user position back to their start values, before a new run.
    virtual void resetRunState() = 0;

    // The folder of the flight plan files of live aircraft, made at the start of a run and
    // removed with its content at its end.
    virtual void createFlightPlanFolder() = 0;
    virtual void removeFlightPlanFolder() = 0;
};

}  // namespace corv::sim
