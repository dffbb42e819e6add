// One 10 ms tick of the live traffic with 500 aircraft flying: notices, every aircraft's
// movement, the position hand-over and the request pacing. The budget is 2 % of the tick,
// 200 us.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "common/GreatCircle.hpp"
#include "live/LiveTraffic.hpp"
#include "liveries/DbaseXml.hpp"
#include "liveries/LiverySource.hpp"
#include "liveries/MatchingIndexes.hpp"
#include "liveries/RandomSource.hpp"
#include "liveries/ReferenceData.hpp"
#include "services/MessageLine.hpp"
#include "services/RunState.hpp"
#include "status/DisplayState.hpp"
#include "support/FeedStandIn.hpp"
#include "support/QuietWindow.hpp"
#include "support/RecordedControls.hpp"

namespace {

using namespace corv;
namespace fs = std::filesystem;

constexpr int aircraftCount = 500;
constexpr int reportSeconds = 1500;  // every aircraft has data for the whole measurement

// The simulator client with its real queues; every creation is answered at once.
struct AnsweringSimulator final : sim::AiTrafficPort {
    sim::SimQueues& queues() override { return queues_; }
    sim::SimNotices& notices() override { return notices_; }
    sim::UserAircraftState userAircraft() const override { return user; }
    double userHalfWingspan() const override { return 17.0 / 1852.0; }
    sim::UserAircraftState requestUserState() override { return user; }
    void requestNearbyAircraft() override {}
    void requestStaticCg(sim::ObjectId) override {}
    bool writeLandingRoll(sim::ObjectId, double, double) override { return true; }
    bool setFlightPlan(sim::ObjectId, const std::string&, const std::string&, int,
                       const std::string&) override {
        return true;
    }
    // What the simulator would do in its frame: create what was queued, take the positions.
    void frame() {
        std::lock_guard lock(queues_.simLock());
        for (const sim::CreationRequest& request : queues_.creations) {
            notices_.post({.objectId = nextObject++,
                           .key = request.key,
                           .kind = sim::SimNoticeKind::LiveSpawned,
                           .second = 10000.0});
        }
        queues_.creations.clear();
        queues_.events.clear();
        queues_.sendBuffer.clear();
    }
    sim::SimQueues queues_;
    sim::SimNotices notices_;
    sim::UserAircraftState user{
        .latitude = 52.0, .longitude = 4.0, .altitudeFeet = 30000.0, .onGround = true};
    sim::ObjectId nextObject = 100;
};

struct Liveries final : liveries::LiverySource {
    const liveries::MatchingIndexes* indexes() const override { return indexes_.get(); }
    liveries::MatchRunState& runState() override { return run_; }
    std::unique_ptr<liveries::MatchingIndexes> indexes_;
    liveries::MatchRunState run_;
};

struct FlyingTraffic {
    FlyingTraffic() {
        const fs::path file = fs::temp_directory_path() /
                              fmt::format("corv-bench-live-{}.xml", std::random_device()());
        std::ofstream(file) << test::DbaseXml{}.text();
        reference.readXml(file);
        fs::remove(file);
        std::vector<liveries::LiveryData> installed(1);
        installed[0].title = "Generic 738";
        installed[0].airline = reference.internAirline("ZZZ");
        installed[0].model = reference.internModel("B738");
        liveryData.indexes_ = std::make_unique<liveries::MatchingIndexes>(installed, reference);

        // Aircraft on tracks in every direction within 40 nm, reporting every 10 s.
        for (int a = 0; a < aircraftCount; ++a) {
            const double bearing = 2.0 * std::numbers::pi * a / aircraftCount;
            const common::GeoPoint start =
                common::destinationPoint({52.0, 4.0}, bearing, 10.0 + a % 30);
            for (int second = 0; second <= reportSeconds; second += 10) {
                realtraffic::TrafficReport r;
                r.hexid = 100000 + static_cast<std::uint32_t>(a);
                r.callsign = fmt::format("XYZ{}", a);
                r.identity.model = reference.internModel("B738");
                const common::GeoPoint at =
                    common::destinationPoint(start, bearing + 1.0, 300.0 * second / 3600.0);
                r.latitude = at.latitude;
                r.longitude = at.longitude;
                r.altitude = 20000.0 + 10.0 * a;
                r.groundSpeed = 300.0;
                r.track = 0.0;
                r.airborne = true;
                r.timestamp = 1.0e9 + second;
                r.dueTick = second * 100 + 3000;
                traffic.intakeReport(r);
            }
        }
        // Created one every 50 ticks, then 200 ticks to activation.
        while (traffic.table().aircraft.size() != static_cast<std::size_t>(aircraftCount) ||
               !allActive())
            tick();
    }

    bool allActive() const {
        for (const live::LiveAircraft& aircraft : traffic.table().aircraft)
            if (aircraft.state != live::AcState::Active) return false;
        return true;
    }
    void tick() {
        traffic.handleAddingStack();
        simulator.frame();
    }

    liveries::ReferenceData reference;
    Liveries liveryData;
    services::RunState run;
    services::MessageLine messages{[] {}};
    status::DisplayState display;
    test::QuietWindow window;
    AnsweringSimulator simulator;
    liveries::UniformRandom random;
    test::RecordedControls controls;
    test::FeedStandIn feed;
    std::atomic<airports::TimeKey> timeKeyNow{};
    live::LiveTraffic traffic{live::LiveServices{run, messages, display, window, controls,
                                                 reference, liveryData, simulator, feed, random,
                                                 timeKeyNow}};
};

void tickWith500Flying(benchmark::State& state) {
    FlyingTraffic flying;
    for (auto _ : state) {
        flying.traffic.handleAddingStack();
        state.PauseTiming();
        flying.simulator.frame();
        state.ResumeTiming();
    }
    state.counters["active"] = static_cast<double>(flying.traffic.table().aircraft.size());
}
BENCHMARK(tickWith500Flying)->Iterations(20000)->Unit(benchmark::kMicrosecond);

}  // namespace
