#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "airports/AirportCatalogue.hpp"
#include "sim/SimOperations.hpp"
#include "sim/standin/GroundElevation.hpp"
#include "sim/standin/InstalledTitles.hpp"
#include "sim/standin/Scenario.hpp"
#include "sim/standin/StandInClock.hpp"
#include "sim/standin/StandInLog.hpp"
#include "sim/standin/WorldObject.hpp"
#include "sim/standin/WorldSnapshot.hpp"

namespace corv::sim::standin {

// A small simulator behind the simulator operations: a user aircraft driven by a scenario, AI
// aircraft created from installed liveries, a flat ground and a clock. It has no thread of its
// own: whatever is due by its clock is produced when the client dispatches.
class StandInSimulator final : public SimOperations {
  public:
    static constexpr ObjectId userObjectId = 1;
    static constexpr ObjectId firstAiObjectId = 100;
    static constexpr std::size_t maxAiObjects = 1000;
    static constexpr double framesPerSecond = 30.0;

    // The install folder holds SimObjects/, Scenery/, the optional scenario file, the log and
    // the AI objects' tracks.
    // Throws std::runtime_error for a scenario file that cannot be read.
    StandInSimulator(std::filesystem::path installFolder,
                     std::vector<std::filesystem::path> liveryFolders,
                     const airports::AirportCatalogue& catalogue,
                     std::shared_ptr<const Clock> clock = std::make_shared<SystemClock>());

    Status open(const std::string& clientName) override;
    Status close() override;
    Status addToDataDefinition(DefineId define, const std::string& variable,
                               const std::string& unit, DataType type) override;
    Status mapClientEventToSimEvent(ClientEventId event, const std::string& simEventName) override;
    Status addClientEventToNotificationGroup(GroupId group, ClientEventId event,
                                             bool maskable) override;
    Status setNotificationGroupPriority(GroupId group, std::uint32_t priority) override;
    Status subscribeToSystemEvent(ClientEventId event, const std::string& systemEventName) override;
    Status requestDataOnSimObject(RequestId request, DefineId define, ObjectId object,
                                  Period period) override;
    Status requestDataOnSimObjectType(RequestId request, DefineId define,
                                      std::uint32_t radiusMetres, SimObjectType type) override;
    Status setDataOnSimObject(DefineId define, ObjectId object,
                              std::span<const std::byte> data) override;
    Status transmitClientEvent(ObjectId object, ClientEventId event, std::uint32_t data,
                               GroupId group) override;
    Status aiCreateNonAtcAircraft(const std::string& containerTitle, const std::string& tailNumber,
                                  const InitPosition& position, RequestId request) override;
    Status aiReleaseControl(ObjectId object, RequestId request) override;
    Status aiRemoveObject(ObjectId object, RequestId request) override;
    Status aiSetAircraftFlightPlan(ObjectId object, const std::string& flightPlanPath,
                                   RequestId request) override;
    Status getLastSentPacketId(std::uint32_t& packetId) override;
    Status callDispatch(const std::function<void(const SimMessage&)>& handler) override;

    // What a person or a test looks at.
    nlohmann::json snapshotJson();
    std::string snapshotSvg(double radiusNm = 5.0);
    // Writes "standin-world.json", "standin-world.svg" and the apron around the user,
    // "standin-airport.svg", into the install folder.
    void writeSnapshot(double radiusNm = 5.0);
    // A copy of the object as it is now; nullopt when there is none.
    std::optional<WorldObject> findObject(ObjectId object);
    std::size_t aiObjectCount();
    bool isInstalled(const std::string& title) const { return titles_.contains(title); }

  private:
    struct Variable {
        std::string name;
        std::string unit;
        DataType type = DataType::Float64;
    };
    struct PeriodicRequest {
        RequestId request = 0;
        DefineId define = 0;
        ObjectId object = 0;
        std::chrono::steady_clock::time_point due{};
    };

    bool usable() const { return open_ && !quit_; }
    // Every operation: the world's lock and a new packet id, or no lock when the connection is
    // closed (or, for data requests, when the scenario makes this request fail).
    enum class Scripted { NeverFails, MayFail };
    std::unique_lock<std::mutex> beginOperation(Scripted scripted = Scripted::NeverFails);
    std::uint32_t nextPacket() { return ++packetId_; }
    void raise(std::uint32_t code, std::uint32_t index);
    // A name the simulator does not know: the exception for the call's parameter at index.
    void refuseName(std::string_view what, std::uint32_t index);
    void log(std::string_view line);
    std::optional<ClientEventId> subscription(const std::string& systemEvent) const;
    WorldObject* object(ObjectId id);
    // The request's definition and object (0 is the user's aircraft); each raises the
    // simulator's exception for the given parameter and answers nullptr when unknown.
    const std::vector<Variable>* knownDefinition(DefineId define, std::uint32_t parameter);
    WorldObject* knownObject(ObjectId id, std::uint32_t parameter);
    // An AI object of the world; nothing, after raising the simulator's exception, otherwise.
    WorldObject* aiObject(ObjectId id);
    double groundAt(const WorldObject& object);
    double worldSeconds() const;

    void advance();  // everything due by the clock, into the queue
    void refreshUser();
    void runScriptedEvent(const ScriptedEvent& event);
    void queueFrames();
    void queueSimState();
    void queuePeriodic();
    std::vector<std::byte> pack(const std::vector<Variable>& variables, WorldObject& object);
    bool consumeRequestFailure();
    void logMove(WorldObject& object);
    void recordTrack(WorldObject& object);
    std::vector<SnapshotEntry> snapshotEntries();
    void writeSnapshotFiles(double radiusNm);

    std::filesystem::path installFolder_;
    std::shared_ptr<const Clock> clock_;
    std::map<std::string, InstalledTitle> titles_;
    Scenario scenario_;
    GroundElevation ground_;
    StandInLog log_;
    StandInTracks tracks_;

    // Calls may come from two threads of the client; the handler is called without the lock,
    // so that it may call back.
    std::mutex mutex_;

    bool open_ = false;
    bool quit_ = false;
    std::uint32_t packetId_ = 0;
    std::map<DefineId, std::vector<Variable>> definitions_;
    std::map<ClientEventId, std::string> mappedEvents_;
    std::map<std::string, ClientEventId> subscriptions_;  // upper-case system event name
    std::vector<PeriodicRequest> periodic_;
    std::vector<SimMessage> queue_;

    std::map<ObjectId, WorldObject> objects_;
    ObjectId nextObjectId_ = firstAiObjectId;

    std::optional<std::chrono::steady_clock::time_point> worldStart_;  // the first open
    std::chrono::steady_clock::time_point frameEpoch_{};
    std::int64_t framesSent_ = 0;
    std::size_t nextScriptedEvent_ = 0;
    bool paused_ = false;
    std::optional<bool> announcedRunning_;  // the "Sim" state last sent on this connection
    bool failNextRequest_ = false;
    double nextSnapshotSeconds_ = 0.0;
};

}  // namespace corv::sim::standin
