// The livery scan of a large installation: 5,000 aircraft.cfg files with 20,000 [fltsim.N]
// sections, every livery's folders installed. The scan should take no more than twice as long
// as reading the same files once, warm, as `cat` would; the scan benchmark reports its time
// against that read as "vs_raw_read", and against walking the tree and reading the files
// ("vs_walk_and_read"), since on a tree of 50,000 entries the walk alone costs more than the read.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <fmt/format.h>

#include "RawRead.hpp"
#include "liveries/LiveryFolderScan.hpp"
#include "liveries/ReferenceData.hpp"

namespace {

namespace fs = std::filesystem;
using namespace corv::liveries;

constexpr int fileCount = 5000;
constexpr int sectionsPerFile = 4;
constexpr int sectionCount = fileCount * sectionsPerFile;

struct Type {
    const char* code;
    const char* maker;
    const char* name;
    bool airliner;  // private liveries only for the others: a heavy without airline is dropped
};

// Codes the shipped reference data knows, and one it corrects (B747).
constexpr std::array types{
    Type{"B738", "Boeing", "737-800", true},
    Type{"A320", "Airbus", "A320", true},
    Type{"A20N", "Airbus", "A320neo", true},
    Type{"A321", "Airbus", "A321", true},
    Type{"B77W", "Boeing", "777-300ER", true},
    Type{"B744", "Boeing", "747-400", true},
    Type{"B789", "Boeing", "787-9", true},
    Type{"A359", "Airbus", "A350-900", true},
    Type{"E190", "Embraer", "E190", true},
    Type{"CRJ9", "Bombardier", "CRJ-900", true},
    Type{"DH8D", "De Havilland", "Dash 8 Q400", true},
    Type{"AT76", "ATR", "72-600", true},
    Type{"C172", "Cessna", "172 Skyhawk", false},
    Type{"C25A", "Cessna", "Citation CJ2", false},
    Type{"EC35", "Eurocopter", "EC135", false},
    Type{"B747", "Boeing", "747-400", true},
};
constexpr std::array airlines{"KLM", "DLH", "BAW", "AFR", "UAL", "DAL", "AAL", "RYR",
                              "EZY", "SWR", "AUA", "SAS", "QFA", "SIA", "UAE", "THY",
                              "IBE", "ACA", "JAL", "ANA", "EIN", "TAP", "FDX", "UPS"};

// The parts of a real aircraft.cfg that the reader passes over.
const char* const flightModel = R"(
[contact_points]
point.0=1, 43.00, 0.00, -8.60, 1600, 0, 1.442, 55.92, 0.6, 2.5, 0.9, 4.0, 4.0, 0, 220.0, 250.0
point.1=1, -11.10, -9.44, -8.60, 1600, 1, 1.442, 0.0, 1.1, 2.5, 0.9, 5.0, 5.0, 2, 220.0, 250.0
point.2=1, -11.10, 9.44, -8.60, 1600, 2, 1.442, 0.0, 1.1, 2.5, 0.9, 5.0, 5.0, 3, 220.0, 250.0
point.3=2, -22.00, -56.00, 4.50, 1787, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0
point.4=2, -22.00, 56.00, 4.50, 1787, 0, 0, 0, 0, 0, 0, 0, 0, 6, 0, 0
static_pitch=0.5
static_cg_height=8.6
gear_system_type=1

[airplane_geometry]
wing_area=1344.0
wing_span=112.6
wing_root_chord=17.0
wing_dihedral=6.0
wing_incidence=1.0
wing_twist=-3.0
oswald_efficiency_factor=0.75
wing_winglets_flag=1
wing_sweep=25.0
wing_pos_apex_lon=2.0
wing_pos_apex_vert=0.0
htail_area=352.0
htail_span=47.1
htail_pos_lon=-57.0
vtail_area=224.0
vtail_span=24.0
elevator_area=81.0
aileron_area=36.0
rudder_area=72.0

[flaps.0]
type=1
span-outboard=0.85
extending-time=33
flaps-position.0=0, 0
flaps-position.1=1, 0
flaps-position.2=2, 0
flaps-position.3=5, 0
flaps-position.4=10, 0
flaps-position.5=15, 0
flaps-position.6=25, 0
flaps-position.7=30, 0
flaps-position.8=40, 0
damaging-speed=250
blowout-speed=300
lift_scalar=1.0
drag_scalar=1.0
pitch_scalar=1.0

[views]
eyepoint=47.00, -1.50, 5.50

[electrical]
max_battery_voltage=24.0
generator_alternator_voltage=28.0
max_generator_alternator_amps=60.0
electric_always_available=0
)";

// One aircraft folder: model, flight model, four liveries with their texture folders.
void writeAircraft(const fs::path& folder, int number) {
    const Type& type = types[static_cast<std::size_t>(number) % types.size()];
    fs::create_directories(folder / "model");
    std::ofstream(folder / fmt::format("{}.air", type.code), std::ios::binary) << "air";
    std::string text;  // the sections first, as in most files
    for (int s = 0; s < sectionsPerFile; ++s) {
        const int livery = number * sectionsPerFile + s;
        const std::string airline = airlines[static_cast<std::size_t>(livery) % airlines.size()];
        const std::string registration = fmt::format("N{}{:03}", 1 + livery % 9, livery % 1000);
        const std::string texture = fmt::format("{}_{}", airline, livery);
        fs::create_directories(folder / ("texture." + texture));
        std::ofstream(folder / ("texture." + texture) / "texture.cfg", std::ios::binary)
            << "[fltsim]\nfallback.1=..\\texture\n";
        std::string owner;
        if (!type.airliner && livery % 3 == 0) {
            owner = "";  // a private aircraft, known by its registration only
        } else if (livery % 11 == 0) {
            owner = "ZZZ";  // the type's generic livery
        } else {
            owner = airline;
        }
        text += fmt::format(
            "[fltsim.{}]\n"
            "title={} {} {} {} #{}\n"
            "sim={}\n"
            "model=\n"
            "panel=\n"
            "sound=\n"
            "texture={}\n"
            "kb_checklists={}_check\n"
            "kb_reference={}_ref\n"
            "atc_id={}\n"
            "atc_airline={}\n"
            "atc_flight_number={}\n"
            "{}"
            "atc_parking_types=GATE,RAMP\n"
            "atc_heavy={}\n"
            "ui_manufacturer=\"{}\"\n"
            "ui_type=\"{}\"\n"
            "ui_variation=\"{} {}\"\n"
            "ui_typerole=\"Commercial Airliner\"\n"
            "ui_createdby=\"Corvane benchmark\"\n"
            "description=\"The {} {} in the colours of {}.\"\n"
            "visual_damage=0\n"
            "\n",
            s, type.maker, type.name, owner.empty() ? "Private" : owner, registration, livery,
            type.code, texture, type.code, type.code, registration,
            owner.empty() ? "Private" : owner, 100 + livery % 9000,
            owner.empty() ? std::string() : fmt::format("atc_parking_codes={}\n", owner),
            type.airliner ? 1 : 0, type.maker, type.name, owner.empty() ? "Private" : owner,
            registration, type.maker, type.name, owner.empty() ? "its owner" : owner);
    }
    text += fmt::format(
        "[General]\n"
        "atc_type=\"{}\"\n"
        "atc_model={}\n"
        "editable=1\n"
        "performance=\"Cruise speed 450 kts\"\n"
        "category=airplane\n",
        type.maker, type.code);
    text += flightModel;
    std::ofstream(folder / "aircraft.cfg", std::ios::binary) << text;
}

// The installation, written once for all benchmarks and removed at exit.
struct Installation {
    Installation()
        : root(fs::temp_directory_path() /
               fmt::format("corv-bench-liveryscan-{}", std::random_device()())) {
        fs::create_directories(root / "input");
        fs::copy_file(fs::path(CORV_SHIPPED_INPUT) / "dbase.enc", root / "input" / "dbase.enc");
        loaded = reference.load(root / "input");
        const fs::path simObjects = root / "SimObjects" / "Airplanes";
        for (int i = 0; i < fileCount; ++i) {
            const Type& type = types[static_cast<std::size_t>(i) % types.size()];
            const fs::path folder =
                simObjects / fmt::format("{} {} {:04}", type.maker, type.code, i);
            writeAircraft(folder, i);
            files.push_back(folder / "aircraft.cfg");
        }
    }
    ~Installation() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    fs::path root;
    ReferenceData reference;
    bool loaded = false;
    std::vector<fs::path> files;
};

Installation& installation() {
    static Installation instance;
    return instance;
}

using corv::bench::readAll;
using corv::bench::readFile;

// As `find -name aircraft.cfg | xargs cat`: the walk the scan cannot avoid, and the read.
std::size_t walkAndReadAll(const fs::path& root) {
    std::size_t total = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        if (entry.path().filename() == "aircraft.cfg") total += readFile(entry.path());
    }
    return total;
}

double secondsOf(const auto& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

FolderScanResult scan(Installation& at, unsigned readers) {
    TitlesSeen titles;  // fresh per scan, or the second scan finds every title taken
    const std::set<std::string, std::less<>> unusable;
    const CfgReadContext context{at.reference, titles, unusable};
    FolderScanOptions options;
    options.readers = readers;
    return scanLiveryFolders({at.root / "SimObjects"}, context, options);
}

void rawRead(benchmark::State& state) {
    Installation& at = installation();
    std::size_t bytes = readAll(at.files);  // warms the cache
    for (auto _ : state)
        benchmark::DoNotOptimize(bytes = readAll(at.files));
    if (bytes == 0) state.SkipWithError("files not read");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["files"] = static_cast<double>(at.files.size());
}
BENCHMARK(rawRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void walkAndRawRead(benchmark::State& state) {
    Installation& at = installation();
    std::size_t bytes = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(bytes = walkAndReadAll(at.root / "SimObjects"));
    if (bytes == 0) state.SkipWithError("files not read");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(walkAndRawRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void scanLiveries(benchmark::State& state) {
    Installation& at = installation();
    if (!at.loaded) {
        state.SkipWithError("shipped reference data not loaded");
        return;
    }
    const unsigned readers = std::max(1u, std::thread::hardware_concurrency());
    readAll(at.files);
    double rawBest = 1e9;
    double walkBest = 1e9;
    for (int i = 0; i < 3; ++i) {
        rawBest = std::min(rawBest, secondsOf([&] { readAll(at.files); }));
        walkBest = std::min(walkBest, secondsOf([&] { walkAndReadAll(at.root / "SimObjects"); }));
    }

    std::size_t found = 0;
    double scanned = 0;
    for (auto _ : state) {
        scanned += secondsOf([&] { found = scan(at, readers).liveries.size(); });
    }
    // Far fewer than the sections would mean the benchmark times a scan that drops them.
    if (found < sectionCount * 95 / 100) state.SkipWithError("liveries missing from the scan");
    state.counters["liveries"] = static_cast<double>(found);
    state.counters["readers"] = readers;
    const double perScan = scanned / static_cast<double>(state.iterations());
    state.counters["vs_raw_read"] = perScan / rawBest;
    state.counters["vs_walk_and_read"] = perScan / walkBest;
}
BENCHMARK(scanLiveries)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
