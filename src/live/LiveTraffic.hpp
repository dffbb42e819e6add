#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "airports/LoadedAirport.hpp"
#include "airports/StandSearch.hpp"
#include "airports/TimeKey.hpp"
#include "live/ReportIntake.hpp"
#include "live/StandLearning.hpp"
#include "live/TrafficPort.hpp"
#include "parking/LiveGroundView.hpp"
#include "parking/StaticTraffic.hpp"
#include "realtraffic/RealTrafficPort.hpp"
#include "sim/AiTrafficPort.hpp"

namespace corv::services {
class MessageLine;
class RunState;
}  // namespace corv::services
namespace corv::status {
class ControlStates;
class DisplayState;
class WindowSeam;
}  // namespace corv::status
namespace corv::liveries {
class LiverySource;
class RandomSource;
class ReferenceData;
}  // namespace corv::liveries

namespace corv::live {

// What the live traffic works with, created once by the composition root.
struct LiveServices {
    services::RunState& run;
    services::MessageLine& messages;
    status::DisplayState& display;
    status::WindowSeam& window;
    status::ControlStates& controls;
    liveries::ReferenceData& reference;
    liveries::LiverySource& liveries;
    sim::AiTrafficPort& simulator;
    realtraffic::RealTrafficPort& realTraffic;
    liveries::RandomSource& random;
    // The weekday and half hour the stays at stands are learned for.
    const std::atomic<airports::TimeKey>& timeKeyNow;
    // The static aircraft served by the request pacing, and the park airport whose stands live
    // aircraft park at; none without static parking.
    parking::StaticTraffic* statics = nullptr;
    airports::LoadedAirport* airport = nullptr;
};

// The live aircraft of the feed: their intake, their life in the simulator and their movement,
// driven by the run cycle tick by tick.
class LiveTraffic final : public TrafficPort,
                          public parking::LiveGroundView,
                          private LifeCycleActions {
  public:
    static constexpr std::size_t reservedAircraft = 512;
    static constexpr std::int32_t activationTicks = 200;
    static constexpr std::int32_t creationIntervalTicks = 50;

    explicit LiveTraffic(LiveServices services);

    void reserveCapacity() override;
    void handleAddingStack() override;
    // One received report; the traffic step takes at most two a tick.
    void intakeReport(const realtraffic::TrafficReport& report);
    void removeAllLive() override;
    void processSimNotices() override;
    void recountLive() override;
    std::size_t liveCountInSim() const override { return liveInSim_; }
    void runStaticTwinCheck() override;
    // The callsigns of the aircraft flying or taxiing in the simulator, offered for blocking.
    void rebuildCallsignList() override;
    // An aircraft taxiing into the user on the ground leaves; static ones come with the parking.
    void checkUserGroundCollisions() override;
    void checkUserAirCollisions() override;
    void checkLiveVersusStaticCollisions() override;
    void removeBlockedCallsign(const std::string& callsign) override;
    void checkParkedVersusStatic() override;
    void clearHexidLiveryCache() override { liveryCache_.clear(); }
    void clearNoLiverySet() override { table_.noLivery.clear(); }
    void logNoLiverySet() override;
    void resetRunState() override;
    void removeFarthestLive(std::size_t count) override;
    // After a block the list is emptied until asked for again.
    void dropFromCallsignList(const std::string& callsign) override;
    void selectionChanged() override {}
    void setParkedLights(bool on) override;
    void setParkAirport(const std::optional<realtraffic::ParkAirport>& park) override {
        parkAirport_ = park;
    }

    // What the static parking sees of the live aircraft on the ground.
    std::vector<parking::LiveAtStand> atStands() const override;
    void removeLive(const std::string& name) override;
    void removeGroundTraffic() override;

    const LiveTable& table() const { return table_; }
    std::size_t pendingCreations() const { return liveCreations_.size(); }

  private:
    // The buffer and the way into the simulator.
    void updateBuffered(LiveAircraft& aircraft);
    bool nearUserBlocks(LiveAircraft& aircraft, const sim::UserAircraftState& user);
    bool roomForOneMore(const PositionBlock& front);
    bool completeIdentity(LiveAircraft& aircraft);
    void spawnLiveAc(LiveAircraft& aircraft);
    bool findLivery(LiveAircraft& aircraft);
    void startWhereDueAtActivation(LiveAircraft& aircraft);
    void setInitialSimPosition(LiveAircraft& aircraft);
    void setPhase(LiveAircraft& aircraft, AcPhase phase);
    void queueNextCreation();

    // Life in the simulator.
    void removeFromSim(LiveAircraft& aircraft) override;
    void liveryRespawn(LiveAircraft& aircraft) override;
    void refreshLearnedStand(LiveAircraft& aircraft) override;
    void appendPoint(LiveAircraft& aircraft, const PositionBlock& point) override {
        appendAccepted(aircraft, point);
    }
    void onSpawned(const sim::SimNotice& notice);
    void onRemoved(const sim::SimNotice& notice);
    void onCreateFailed(const sim::SimNotice& notice);
    void onStaticCg(const sim::SimNotice& notice);
    void onNearbyAircraft(const sim::SimNotice& notice);
    void touchDown(LiveAircraft& aircraft);
    void countActivation(LiveAircraft& aircraft);
    void activate(LiveAircraft& aircraft);
    // Removes the active aircraft farthest from the user, when one lies more than 0.1 nm beyond
    // `threshold` (any, for a negative threshold); true when one was removed.
    bool removeFarthest(double threshold);
    double distanceFromUser(const LiveAircraft& aircraft) const;
    // Half the wingspan of its type, nautical miles: how much room the aircraft takes.
    double radiusOf(const LiveAircraft& aircraft) const;

    // Movement in the air.
    bool updateActive(LiveAircraft& aircraft);
    bool advance(LiveAircraft& aircraft);
    void retime(LiveAircraft& aircraft);
    void airborneSetup(LiveAircraft& aircraft);
    // On the ground.
    void groundSegmentStart(LiveAircraft& aircraft);
    // Straight, curve, midpoint or turn in place; the degrees of the turn ahead.
    double planGroundSegment(LiveAircraft& aircraft);
    void endLandingRollIfTurnedOff(LiveAircraft& aircraft);
    // Spoiler handle and reversers back to 0 % once the aircraft has slowed or turned off.
    void releaseLandingControls(const LiveAircraft& aircraft);
    void splitWhenNeeded(LiveAircraft& aircraft);
    void buildCurve(LiveAircraft& aircraft);
    void retimeOnGround(LiveAircraft& aircraft, double turnDegrees);
    void keepNoseWithTheWay(LiveAircraft& aircraft, double turnDegrees, std::int32_t ticks);
    double segmentSpeed(const LiveAircraft& aircraft) const;
    void groundSetup(LiveAircraft& aircraft);
    bool groundMotionPhase(const LiveAircraft& aircraft) const;
    void groundMotionStep(LiveAircraft& aircraft);
    void turnTowards(LiveAircraft& aircraft);
    void startDepartureRun(LiveAircraft& aircraft);
    void checkTakeOff(LiveAircraft& aircraft);
    void startTakeOff(LiveAircraft& aircraft, double climbPerTick);
    void takeOffStep(LiveAircraft& aircraft);
    void motionStep(LiveAircraft& aircraft);
    bool extendStream(LiveAircraft& aircraft);
    void extendWith(LiveAircraft& aircraft, int count);
    void systemsByAltitude(LiveAircraft& aircraft);
    void approachConfiguration(LiveAircraft& aircraft);
    bool nearParkAirport(const LiveAircraft& aircraft) const;
    // One tick of the flare once it began; false outside it.
    bool flareStep(LiveAircraft& aircraft);
    void settleStep(LiveAircraft& aircraft);
    double currentAboveGround(const LiveAircraft& aircraft) const;
    void appendAccepted(LiveAircraft& aircraft, PositionBlock point);
    bool acceptDuringLanding(LiveAircraft& aircraft, PositionBlock& point);
    void endExtension(LiveAircraft& aircraft);
    void touchAndGo(LiveAircraft& aircraft);
    std::int32_t ticksToGo(const PositionBlock& point) const;

    // Stands of the park airport.
    bool standsLoaded() const;
    airports::Stand* standByNumber(std::int32_t number) const;
    std::optional<airports::FoundStand> standFor(LiveAircraft& aircraft,
                                                 const common::GeoPoint& position, double searchNm,
                                                 bool learned);
    bool spawnAtStand(LiveAircraft& aircraft);
    bool claimStand(LiveAircraft& aircraft, const airports::Stand& stand);
    void clearNeighbours(const LiveAircraft& aircraft, const airports::Stand& stand);
    std::vector<LiveAircraft*> parkedBeside(const LiveAircraft& aircraft,
                                            const airports::Stand& stand);
    // `standingAt`: where its reports show it standing, the mark its leaving is measured from.
    void takeStand(LiveAircraft& aircraft, airports::Stand& stand, common::GeoPoint standingAt);
    void releaseStand(LiveAircraft& aircraft);
    void try2Park(LiveAircraft& aircraft, bool learned);
    bool stopToPark(LiveAircraft& aircraft);
    void drive2Stand(LiveAircraft& aircraft);
    // The way onto the stand from `from`: the points it curves through, so that it ends nose on
    // (none when the stand lies straight ahead, or too close beside it for a curve), its length
    // and the speed to drive it at.
    struct StandApproach {
        std::vector<common::GeoPoint> corners;
        double distanceNm = 0.0;
        double knots = 0.0;
    };
    StandApproach standApproach(const LiveAircraft& aircraft, common::GeoPoint from) const;
    std::vector<common::GeoPoint> standApproachPath(const LiveAircraft& aircraft,
                                                    common::GeoPoint from) const;
    void arriveAtStand(LiveAircraft& aircraft);
    void setParkedSystems(LiveAircraft& aircraft);
    // A new point of an aircraft at its stand; true when the point is to be appended.
    bool watchStand(LiveAircraft& aircraft, PositionBlock& point);
    void startMovingFromStand(LiveAircraft& aircraft, PositionBlock& point);
    // Records the aircraft's stay at the stand in the stand's learned entries.
    void lf_addRealStandOption(std::int32_t standNumber, LiveAircraft& aircraft, StandUse use);
    // Parked live aircraft, then static ones, leave when there are more than the park limit;
    // `adding` is 1 for an aircraft about to be created at a stand.
    void checkParkLimit(int adding);
    // The parked active aircraft whose last report at its stand lies furthest back.
    LiveAircraft* longestIdleParked();
    // The parked count and average parking time for the window, repainted when they changed.
    void showParkedStatistics();
    void lookUpSchedule(LiveAircraft& aircraft);
    void removeStaticTwin(const LiveAircraft& aircraft);
    // Leaving the stand forwards or backwards, and the pushback's later stages.
    void leaveStand(LiveAircraft& aircraft);
    void pullOut(LiveAircraft& aircraft);
    void pushBack(LiveAircraft& aircraft);
    // The pushback's next stage at a segment start; the degrees of the turn it flies.
    double pushbackStep(LiveAircraft& aircraft);
    // A new point while pushing back or pushed back; true when it is to be appended.
    bool acceptAfterPushback(LiveAircraft& aircraft, PositionBlock& point);

    // Events for one object, sent only when their value changes.
    void sendEvent(const LiveAircraft& aircraft, sim::ClientEventId event, std::uint32_t data);
    void setFlaps(LiveAircraft& aircraft, int index);
    void setThrottle(LiveAircraft& aircraft, int index);
    void setGear(const LiveAircraft& aircraft, bool down);
    void setSpoilers(const LiveAircraft& aircraft, bool on);
    struct Lights {
        bool nav, beacon, landing, taxi, strobes, logo, cabin;
    };
    void setLights(const LiveAircraft& aircraft, const Lights& lights);

    IntakeContext intakeContext();
    std::string description(const LiveAircraft& aircraft) const;

    LiveServices services_;
    LiveTable table_;
    std::vector<std::uint32_t> spawnStack_;           // last in, first out
    std::deque<sim::CreationRequest> liveCreations_;  // one handed over every 50 ticks
    std::deque<sim::ObjectId> removals_;              // one handed over every 10 ticks
    std::unordered_map<std::uint32_t, std::string_view> liveryCache_;  // hexid → title
    std::deque<std::uint32_t> staticTwinChecks_;
    std::optional<realtraffic::ParkAirport> parkAirport_;
    bool fastRequests_ = false;
    std::size_t liveInSim_ = 0;
};

}  // namespace corv::live
