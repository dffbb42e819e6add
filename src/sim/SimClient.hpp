#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>

#include "airports/ClosestAirport.hpp"
#include "airports/NearestStand.hpp"
#include "common/GreatCircle.hpp"
#include "services/Sleeper.hpp"
#include "sim/AiTrafficPort.hpp"
#include "sim/SimIds.hpp"
#include "sim/SimNotice.hpp"
#include "sim/SimOperations.hpp"
#include "sim/SimQueues.hpp"
#include "sim/SimulatorPort.hpp"
#include "sim/UserIdentification.hpp"

namespace corv::services {
class MessageLine;
class RunState;
}  // namespace corv::services
namespace corv::status {
class DisplayState;
class WindowSeam;
}  // namespace corv::status
namespace corv::airports {
class AirportCatalogue;
}
namespace corv::liveries {
class ReferenceData;
}

namespace corv::sim {

// Makes (or hands out again) the simulator connection of a run.
using OperationsFactory = std::function<std::shared_ptr<SimOperations>()>;

// What the simulator client works with besides the simulator itself.
struct SimClientContext {
    services::RunState& run;
    services::MessageLine& messages;
    status::DisplayState& display;
    status::WindowSeam& window;
    const airports::AirportCatalogue& catalogue;
    const liveries::ReferenceData& referenceData;
    std::filesystem::path appDataFolder;        // the user's roaming application-data folder
    services::Sleeper sleep;                    // the handshake's pauses
    airports::NearestStandLookup nearestStand;  // empty: no stand data
    std::function<void()> rememberUserStand;    // empty: nothing to remember
};

// The program's only contact with the simulator: one thread that connects, declares what the
// program uses and dispatches the simulator's messages every millisecond, plus the requests and
// queues by which the run and the traffic logic reach the simulator.
class SimClient final : public SimulatorPort, public AiTrafficPort {
  public:
    SimClient(SimClientContext context, OperationsFactory makeOperations);
    ~SimClient() override;
    SimClient(const SimClient&) = delete;
    SimClient& operator=(const SimClient&) = delete;

    // The run's side.
    void expectMajorVersion(const std::string& major) override;
    void startClient() override;
    bool handshake() override;
    void stopClient() override;
    bool flightRunning() const override { return running_; }
    bool hasError() const override { return error_; }
    void clearQueues() override { queues_.clearPositionsAndEvents(); }
    UserAircraftState userAircraft() const override;
    double userHalfWingspan() const override { return userIdentity().halfWingspan; }
    UserAircraftState requestUserState() override;
    void resetRunState() override;
    void createFlightPlanFolder() override;
    void removeFlightPlanFolder() override;

    // The traffic logic's side.
    SimQueues& queues() override { return queues_; }
    SimNotices& notices() override { return notices_; }
    void requestNearbyAircraft() override;
    void requestStaticCg(ObjectId object) override;
    bool setFlightPlan(ObjectId object, const std::string& origin, const std::string& destination,
                       int category, const std::string& description) override;
    void removeFlightPlan(ObjectId object);
    // Spoilers handle and both throttle levers (percent) of a live aircraft on its landing roll.
    bool writeLandingRoll(ObjectId object, double spoilers, double throttle) override;

    ObjectId userObjectId() const { return userObjectId_; }
    UserAircraftIdentity userIdentity() const;
    std::string closestAirport() const;
    std::int64_t simulatorUtcSeconds() const { return simulatorUtcSeconds_; }
    bool userGroundStateKnown() const { return groundStateKnown_; }

    // The steps of the client thread, open so that tests drive them one by one.
    void makeConnection();   // a fresh simulator connection from the factory
    bool open();             // open and declare; false when the simulator is not there
    bool dispatchWaiting();  // false when the connection is lost
    void handleMessage(const SimMessage& message);
    void flushSimQueues();
    void closeConnection();

  private:
    void clientThread(std::stop_token stop);
    void joinThread();
    void connectionLost();

    // Messages.
    void onOpen(const OpenMessage& open);
    void onEvent(const EventMessage& event);
    void onObjectAddRemove(const ObjectAddRemoveMessage& message);
    void onException(const ExceptionMessage& exception);
    void onObjectData(const ObjectDataMessage& message);
    void onNearbyAircraft(const ObjectDataByTypeMessage& message);
    void onUserState(const ObjectDataMessage& message);
    void onUserOnGround(const ObjectDataMessage& message);
    void onUserTitle(const ObjectDataMessage& message);
    void onUserModel(const ObjectDataMessage& message);
    void onCreateFailed(std::uint32_t packetId);

    // Requests and queue work.
    void requestError(std::string_view line);
    void newFlight();
    void rememberUserStand();
    void requestUserOnGround();
    void requestUserTitleAndModel();
    void create(const CreationRequest& request);
    void remove(ObjectId object);
    void repaintStatus();
    bool userPositionKnown() const;

    SimClientContext ctx_;
    OperationsFactory makeOperations_;
    std::filesystem::path flightPlanFolder_;

    // Used under simLock outside the set-up, so the run and the client thread can share it.
    std::shared_ptr<SimOperations> ops_;
    bool connected_ = false;  // under simLock
    bool opened_ = false;     // client thread only

    SimQueues queues_;
    SimNotices notices_;

    std::atomic<int> expectedMajor_{5};
    std::atomic<bool> running_{false};
    std::atomic<bool> error_{false};
    std::atomic<ObjectId> userObjectId_{initialUserObjectId};
    std::atomic<bool> groundStateKnown_{false};
    std::atomic<std::int64_t> simulatorUtcSeconds_{0};

    mutable std::mutex stateMutex_;  // the user aircraft's data, written by the client thread
    UserAircraftState user_;
    common::GeoPoint previousPosition_;
    UserAircraftIdentity identity_;
    std::string closestAirport_;
    airports::ClosestAirportSearch closestSearch_;  // the simulator client thread's

    std::jthread thread_;  // last: stopped and joined before the state above goes
};

}  // namespace corv::sim
