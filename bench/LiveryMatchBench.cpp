// Matching one aircraft to an installed livery, per way a match is found: a few thousand
// liveries of 24 airlines on the shipped reference data. A match runs for every new aircraft
// of the traffic, so it has to stay in microseconds. With the log closed the lines are only
// formatted; the "Logged" cases show what writing them to the open log file adds.
#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "liveries/LiveryMatch.hpp"
#include "liveries/MatchingIndexes.hpp"
#include "liveries/ReferenceData.hpp"
#include "services/Log.hpp"

namespace {

namespace fs = std::filesystem;
using namespace corv::liveries;

// Codes of the shipped reference data. Every airline has liveries of the first four types, none
// of "A20N" (similar to "A320"); "TAP" has none at all, so its aircraft take a generic livery.
constexpr std::array airlines{"KLM", "DLH", "BAW", "AFR", "UAL", "DAL", "AAL", "RYR",
                              "EZY", "SWR", "AUA", "SAS", "QFA", "SIA", "UAE", "THY",
                              "IBE", "ACA", "JAL", "ANA", "EIN", "FDX", "UPS", "AFL"};
constexpr std::array airlineTypes{"B738", "A320", "B77W", "E190"};
constexpr int liveriesPerAirlineType = 30;  // with registrations: 24 * 4 * 30 = 2,880
constexpr std::array genericTypes{"B738", "A320", "A20N", "B77W", "E190", "C172", "B744"};
constexpr int privateLiveries = 400;  // light aircraft of private owners

struct Matching {
    Matching()
        : folder(fs::temp_directory_path() /
                 fmt::format("corv-bench-liverymatch-{}", std::random_device()())) {
        fs::create_directories(folder);
        fs::copy_file(fs::path(CORV_SHIPPED_INPUT) / "dbase.enc", folder / "dbase.enc");
        loaded = reference.load(folder);

        std::vector<LiveryData> liveries;
        const auto add = [&](std::string title, std::string_view airline, std::string_view model,
                             std::string registration) {
            LiveryData& livery = liveries.emplace_back();
            livery.title = std::move(title);
            livery.registration = std::move(registration);
            livery.airline = reference.internAirline(airline);
            livery.model = reference.internModel(model);
        };
        for (const char* airline : airlines) {
            for (const char* type : airlineTypes) {
                for (int i = 0; i < liveriesPerAirlineType; ++i) {
                    const std::string registration =
                        fmt::format("{}-{}{:03}", airline, type, i);  // unique, 12 at most
                    add(fmt::format("{} {} {}", type, airline, registration), airline, type,
                        registration);
                }
            }
        }
        for (const char* type : genericTypes)
            add(fmt::format("Generic {}", type), "ZZZ", type, "");
        for (int i = 0; i < privateLiveries; ++i) {
            const std::string registration = fmt::format("D-E{:03}", i);
            add(fmt::format("C172 private {}", registration), "PVT", "C172", registration);
        }
        count = liveries.size();

        indexes = std::make_unique<MatchingIndexes>(liveries, reference);
        std::vector<TitledRegistration> titled;
        for (const LiveryData& livery : liveries)
            titled.push_back({livery.title, livery.registration});
        indexes->registrations.addInline(titled);
    }
    ~Matching() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    MatchAircraft aircraft(std::string_view airline, std::string_view model,
                           std::string registration) {
        MatchAircraft ac;
        ac.key.airline = reference.internAirline(airline);
        ac.key.model = reference.internModel(model);
        ac.category = reference.category(ac.key.model);
        ac.registration = std::move(registration);
        ac.callsign = fmt::format("{}123", airline);
        ac.description = fmt::format("{} {} {}", airline, model, ac.registration);
        return ac;
    }

    fs::path folder;
    ReferenceData reference;
    bool loaded = false;
    std::size_t count = 0;
    std::unique_ptr<MatchingIndexes> indexes;
    UniformRandom random;
};

Matching& matching() {
    static Matching instance;
    return instance;
}

enum class Case { registration, airlineType, similarType, generic, none };

// Each aircraft of the case's sort starts without a title, as a new one does.
void match(benchmark::State& state, Case which, bool logged) {
    Matching& m = matching();
    if (!m.loaded) {
        state.SkipWithError("shipped reference data not loaded");
        return;
    }
    MatchAircraft sample;
    switch (which) {
        case Case::registration:
            sample = m.aircraft("DLH", "A320", "DLH-A320017");
            break;
        case Case::airlineType:
            sample = m.aircraft("KLM", "B738", "PH-BXZ");
            break;
        case Case::similarType:
            sample = m.aircraft("BAW", "A20N", "G-TTNA");
            break;
        case Case::generic:
            sample = m.aircraft("TAP", "A320", "CS-TNV");
            break;
        case Case::none:
            sample = m.aircraft("TAP", "B752", "CS-TKP");
            break;
    }
    if (logged) corv::services::openLog(m.folder / "Log.txt");
    MatchRunState run;
    const MatchContext context{*m.indexes, m.reference, run, {}, m.random};
    bool matched = false;
    for (auto _ : state) {
        MatchAircraft ac = sample;
        matched = matchLivery(ac, context);
        benchmark::DoNotOptimize(ac.title);
    }
    if (logged) corv::services::closeLog();
    if (matched != (which != Case::none)) state.SkipWithError("not the expected match");
    // The step the match took: 0/1 registration, 2 airline and type, 3 similar, 4 generic.
    for (std::size_t step = 0; step < run.stepCounts.size(); ++step) {
        if (run.stepCounts[step] > 0) state.counters["step"] = static_cast<double>(step);
    }
    state.counters["liveries"] = static_cast<double>(m.count);
}

BENCHMARK_CAPTURE(match, RegistrationHit, Case::registration, false);
BENCHMARK_CAPTURE(match, AirlineTypeHit, Case::airlineType, false);
BENCHMARK_CAPTURE(match, SimilarType, Case::similarType, false);
BENCHMARK_CAPTURE(match, Generic, Case::generic, false);
BENCHMARK_CAPTURE(match, NoMatch, Case::none, false);
BENCHMARK_CAPTURE(match, AirlineTypeHitLogged, Case::airlineType, true);
BENCHMARK_CAPTURE(match, NoMatchLogged, Case::none, true);

}  // namespace
