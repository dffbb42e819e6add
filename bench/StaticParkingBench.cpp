#include <benchmark/benchmark.h>
#include <fmt/format.h>

#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include "airports/StandNeighbours.hpp"
#include "airports/StaticCalculation.hpp"
#include "services/Log.hpp"
#include "settings/ParameterTable.hpp"
#include "airports/NoAircraftIdentities.hpp"

namespace {

using namespace corv;

// 400 stands in rows 60 m apart, 50 stays each over the week: 20,000 occupancy entries, half
// observed, half derived, each a few hours long.
std::vector<airports::Stand> busyAirport() {
    std::mt19937 draw(7);
    std::vector<airports::Stand> stands(400);
    for (std::size_t s = 0; s < stands.size(); ++s) {
        airports::Stand& stand = stands[s];
        stand.id = fmt::format("S{}", s + 1);
        stand.latitude = 52.3 + static_cast<double>(s / 40) * 0.001;
        stand.longitude = 4.76 + static_cast<double>(s % 40) * 0.0009;
        stand.radius = 24.0 / 1852.0;
        for (int e = 0; e < 50; ++e) {
            airports::OccupancyEntry entry;
            entry.callsign = fmt::format("KLM{}", s * 50 + static_cast<std::size_t>(e));
            entry.registration = fmt::format("PH-{}", s * 50 + static_cast<std::size_t>(e));
            entry.day = static_cast<int>(draw() % 7) + 1;
            const int start = static_cast<int>(draw() % 44);
            entry.hours = airports::HalfHourSet::range(start, start + static_cast<int>(draw() % 4));
            entry.real = e % 2 == 0;
            entry.index = e + 1;
            stand.entries.push_back(std::move(entry));
        }
    }
    airports::numberStandsAndNeighbours(stands);
    return stands;
}

// One full calculation: every stage and, where the stands are not filled, every fit.
void fullCalculation(benchmark::State& state) {
    services::closeLog();
    settings::WEEK.setCurrent(true);
    settings::PARK_SOFT.setCurrent(true);
    settings::MAX_FIT.setCurrent(47);
    settings::MAX_PARK_SEL.setCurrent(500);
    settings::CUSTOM_PARKING_PERCENTAGE.setCurrent(static_cast<int>(state.range(0)));
    const std::vector<airports::Stand> airport = busyAirport();
    const std::unordered_set<std::string> live{"KLM5", "KLM77"};
    const airports::NoAircraftIdentities identities;
    std::mt19937 shuffle(3);
    const airports::StaticSearchInputs inputs{
        live, {}, {}, identities, [&](std::size_t count) { return shuffle() % count; }};
    std::size_t placed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<airports::Stand> stands = airport;
        airports::resetStandMarks(stands, "S1", "");
        airports::SearchFits fits;
        state.ResumeTiming();
        placed = airports::calculateStaticParking(stands, {3, 24}, inputs, fits).size();
        benchmark::DoNotOptimize(placed);
    }
    state.counters["placed"] = static_cast<double>(placed);
}
BENCHMARK(fullCalculation)->Arg(30)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
