// The add-on airport scan over 2,000 generated airport scenery files of 100 parking spots each.
// The scan should cost little more than reading the same files once, warm, as `cat` would; the
// scan benchmark reports its time against `cat` itself as "vs_cat", and against the leanest
// read there is (open, read to the end, close) as "vs_raw_read".
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "RawRead.hpp"
#include "scan/AirportBglRead.hpp"
#include "scan/BglAirportFile.hpp"
#include "scan/BglBuilder.hpp"
#include "scan/ScanFolderTree.hpp"
#include "support/TempFolder.hpp"

namespace {

namespace fs = std::filesystem;
using namespace corv;

constexpr int fileCount = 2000;
constexpr int standsPerAirport = 100;

test::Bytes airportFile(int index) {
    std::vector<test::ParkingEntry> entries;
    for (int i = 0; i < standsPerAirport; ++i) {
        entries.push_back({10,
                           8,
                           static_cast<unsigned>(i + 1),
                           {"KLM", "DLH"},
                           20.0F,
                           90.0F,
                           52.3 + i * 1e-4,
                           4.7 + index * 1e-4});
    }
    const std::string ident = fmt::format("E{:03}", index % 1000);
    std::string code = ident;
    for (char& c : code)
        c = c >= '0' && c <= '9' ? static_cast<char>('A' + (c - '0')) : c;
    return test::bglFile(
        {test::Section{3,
                       0,
                       {test::airportRecord(code, true, 0,
                                            {test::nameRecord("Generated field"),
                                             test::helipadRecord(52.2, 4.6, 20.0F, 0.0F),
                                             test::parkingListRecord(true, entries)})}}});
}

struct Scenery {
    Scenery() {
        for (int i = 0; i < fileCount; ++i) {
            const fs::path file =
                folder / fmt::format("addon{:02}/scenery/AD_{:04}.bgl", i % 40, i);
            fs::create_directories(file.parent_path());
            const test::Bytes bytes = airportFile(i);
            std::ofstream(file, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
            files.push_back(file);
        }
    }
    test::TempFolder folder;
    std::vector<fs::path> files;
};

Scenery& scenery() {
    static Scenery instance;
    return instance;
}

using bench::readAll;
using bench::readFile;

double secondsOf(const auto& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One `cat` of every file to /dev/null, as a user would time the read; false when it failed.
bool catAll(const std::vector<fs::path>& files) {
    std::vector<std::string> arguments{"cat"};
    for (const fs::path& file : files)
        arguments.push_back(file.string());
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int failed = posix_spawnp(&child, "cat", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return failed == 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// Every airport decoded and handed on; writing the airport files is not timed.
std::size_t scanAll(const fs::path& root) {
    std::size_t stands = 0;
    scan::ScanMessages messages;
    const scan::AirportScanSteps steps{
        [](const common::FixedCode<4>&) { return true; },
        [](scan::ScannedAirport&) { return false; },
        [&stands](scan::ScannedAirport& airport, int) { stands += airport.stands.size(); },
    };
    const scan::FolderWalk walk{
        "",
        [](const std::string&) {},
        [] { return false; },
        [](const scan::SceneryFile& file, std::vector<std::uint8_t>& buffer) {
            return scan::readAirportBgl(file, buffer);
        },
        [&](const std::string& path, std::span<const std::uint8_t> bytes) {
            scan::lf_processBGLfile(bytes, path, messages, steps);
        },
        [](std::size_t, std::size_t) {}};
    scan::scanFolderTree(root, walk, messages);
    return stands;
}

void rawRead(benchmark::State& state) {
    Scenery& at = scenery();
    std::size_t bytes = readAll(at.files);
    for (auto _ : state)
        benchmark::DoNotOptimize(bytes = readAll(at.files));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["files"] = static_cast<double>(at.files.size());
}
BENCHMARK(rawRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void scanAirports(benchmark::State& state) {
    Scenery& at = scenery();
    readAll(at.files);
    double rawBest = 1e9;
    double catBest = 1e9;
    bool catRan = true;
    for (int i = 0; i < 3; ++i) {
        rawBest = std::min(rawBest, secondsOf([&] { readAll(at.files); }));
        catBest = std::min(catBest, secondsOf([&] { catRan = catAll(at.files) && catRan; }));
    }
    std::size_t stands = 0;
    double scanned = 0;
    for (auto _ : state)
        scanned += secondsOf([&] { stands = scanAll(at.folder.path()); });
    if (stands != std::size_t{fileCount} * (standsPerAirport + 1))
        state.SkipWithError("stands missing from the scan");
    state.counters["stands"] = static_cast<double>(stands);
    const double scanSeconds = scanned / static_cast<double>(state.iterations());
    state.counters["vs_raw_read"] = scanSeconds / rawBest;
    if (catRan) state.counters["vs_cat"] = scanSeconds / catBest;
}
BENCHMARK(scanAirports)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
