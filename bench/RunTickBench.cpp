// The cost of one 10 ms tick of the run cycle while nothing flies: the budget of an idle
// program is well under 1 % of a core, that is under 100 us per tick.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/Run.hpp"
#include "live/LiveTraffic.hpp"
#include "liveries/LiverySubsystem.hpp"
#include "liveries/RandomSource.hpp"
#include "scan/AddonAirportScan.hpp"
#include "services/MessageLine.hpp"
#include "support/FeedStandIn.hpp"
#include "support/QuietWindow.hpp"
#include "support/RunningFlight.hpp"
#include "ui/HeadlessControls.hpp"
#include "ui/commands/Commands.hpp"

namespace {

// No park airport: the idle tick does no parking work.
class IdleAirports final : public corv::airports::AirportsPort {
  public:
    void readParkAirportList() override {}
    void parkAirportTick(bool) override {}
    bool parkAirportSet() const override { return false; }
    bool standListEmpty() const override { return true; }
    void leaveParkAirport() override {}
    bool hasReservedStand() const override { return false; }
    void keepReservedStandFree() override {}
    std::string recheckParkAirports() override { return {}; }
    void setDestination(const std::string&) override {}
    void clearDestination() override {}
    std::optional<double> firstParkAirportDistance() const override { return std::nullopt; }
    void removeAllStatic() override {}
    void renewStaticParking() override {}
    int staticQueuedCount() const override { return 0; }
    void resetRunState() override {}
};

using namespace corv;

// A simulator whose flight runs, so every tick takes the traffic path.
class RunningSimulator final : public test::RunningFlight, public sim::AiTrafficPort {
  public:
    sim::SimQueues& queues() override { return queues_; }
    sim::SimNotices& notices() override { return notices_; }
    void requestNearbyAircraft() override {}
    void requestStaticCg(sim::ObjectId) override {}
    bool writeLandingRoll(sim::ObjectId, double, double) override { return true; }
    bool setFlightPlan(sim::ObjectId, const std::string&, const std::string&, int,
                       const std::string&) override {
        return true;
    }
    sim::UserAircraftState userAircraft() const override { return user; }
    double userHalfWingspan() const override { return 17.0 / 1852.0; }
    sim::UserAircraftState requestUserState() override { return user; }

  private:
    sim::SimQueues queues_;
    sim::SimNotices notices_;
};

// The tick never asks for updates; the start-up does, and it is not measured here.
class NoUpdates final : public data::DataFilesPort {
  public:
    bool checkForUpdates() override { return true; }
};

struct IdleRun {
    services::RunState run;
    ui::HeadlessControls controls;
    test::QuietWindow window;
    status::DisplayState display;
    run::CommandRequests requests;
    std::atomic<int> metaSimNumber{1};
    services::MessageLine messages{[] {}};
    settings::SettingsFile settings{
        std::filesystem::temp_directory_path() / "corv-bench-parameters.xml", controls,
        run.stopRequested};
    liveries::ReferenceData referenceData;
    NoUpdates dataFiles;
    liveries::LiverySubsystem liveries{liveries::LiveryServices{
        run, messages, settings, controls, display, window, referenceData, ".", metaSimNumber}};
    IdleAirports airports;
    airports::AirportCatalogue catalogue;
    scan::AddonAirportScan addonScan{scan::AddonScanServices{run, messages, settings, controls,
                                                             display, window, catalogue,
                                                             referenceData, ".", metaSimNumber}};
    RunningSimulator simulator;
    test::FeedStandIn realTraffic;  // nothing connected: the cycle's own cost is measured
    liveries::UniformRandom random;
    std::atomic<airports::TimeKey> timeKeyNow{};
    live::LiveTraffic traffic{live::LiveServices{run, messages, display, window, controls,
                                                 referenceData, liveries, simulator, realTraffic,
                                                 random, timeKeyNow}};
    run::RunContext context{
        run,
        messages,
        settings,
        controls,
        window,
        display,
        requests,
        run::Subsystems{dataFiles, liveries, airports, addonScan, simulator, realTraffic, traffic},
        referenceData,
        catalogue,
        timeKeyNow,
        ".",
        ".",
        [](std::chrono::milliseconds) {},
        metaSimNumber};
    ui::Commands commands{context};
    app::Run runner{context, commands};
};

void tickWithoutASecond(benchmark::State& state) {
    IdleRun idle;
    for (auto _ : state)
        benchmark::DoNotOptimize(idle.runner.runTick());
}
BENCHMARK(tickWithoutASecond);

// Every hundredth tick the simulator's second arrives and the slower schedules run.
void tickWithASecondEveryHundred(benchmark::State& state) {
    IdleRun idle;
    int tick = 0;
    for (auto _ : state) {
        if (++tick % 100 == 0) idle.run.secondTick = true;
        benchmark::DoNotOptimize(idle.runner.runTick());
    }
}
BENCHMARK(tickWithASecondEveryHundred);

}  // namespace
