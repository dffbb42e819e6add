// Throughput of the Traffic Reader's datagram processing (datagrams per second on one core),
// on traffic datagrams made at run time from the shared real ADS-B recordings. Each datagram
// is judged as if the user and the park airport were right there, so it passes every step.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "common/ModelCodeTable.hpp"
#include "realtraffic/TrafficLine.hpp"

namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;

struct RecordedLine {
    std::string datagram;
    corv::common::GeoPoint where;
};

fs::path sharedTrafficFolder() {
    const char* configured = std::getenv("CORV_SHARED_DATA");
    const fs::path data = configured && *configured
                              ? fs::path(configured)
                              : fs::path(__FILE__).parent_path() / "../../shared/data";
    return data / "traffic";
}

json readJson(const fs::path& file) {
    std::ifstream in(file);
    return json::parse(in, nullptr, false);
}

std::string number(const json& value, const char* absent) {
    return value.is_number() ? fmt::format("{}", value.get<double>()) : std::string(absent);
}

// Field layout of RealTraffic's traffic records (29 fields, 0 to 28).
std::string datagram(unsigned hexid, double lat, double lon, const std::string& altitude,
                     const std::string& rate, const std::string& track, const std::string& speed,
                     const std::string& callsign, const std::string& type,
                     const std::string& registration, double timestamp, const std::string& source,
                     const std::string& roll, const std::string& trueHeading) {
    return fmt::format(
        "RTTFC,{},{:.6f},{:.6f},{},{},0,{},{},{},{},{},null,null,{:.1f},X1,,{},-1,-1,-1,0,0,{},-1,"
        "{},0,none,A3",
        hexid, lat, lon, altitude, rate, track, speed, callsign, type, registration, timestamp,
        source, roll, trueHeading);
}

// readsb "trace_full": rows of [seconds, lat, lon, altitude or "ground", speed, track, flags,
// rate, details, source, geometric altitude, geometric rate, IAS, roll].
void addReadsbTrace(const fs::path& file, std::vector<RecordedLine>& lines) {
    const json trace = readJson(file);
    if (!trace.is_object() || !trace.contains("trace")) return;
    const unsigned hexid = std::stoul(trace.value("icao", "0"), nullptr, 16);
    const double start = trace.value("timestamp", 0.0);
    std::string callsign = "null";
    for (const json& row : trace["trace"]) {
        if (!row.is_array() || row.size() < 14 || !row[1].is_number()) continue;
        std::string trueHeading = "-1";
        if (row[8].is_object()) {
            const std::string flight = row[8].value("flight", "");
            if (!flight.empty()) callsign = flight.substr(0, flight.find_last_not_of(' ') + 1);
            trueHeading = number(row[8].value("true_heading", json()), "-1");
        }
        const std::string altitude = row[3].is_string() ? "0" : number(row[3], "0");
        lines.push_back({datagram(hexid, row[1].get<double>(), row[2].get<double>(), altitude,
                                  number(row[7], "0"), number(row[5], ""), number(row[4], "0"),
                                  callsign, trace.value("t", "null"), trace.value("r", "null"),
                                  start + row[0].get<double>(),
                                  row[9].is_string() ? row[9].get<std::string>() : "other",
                                  number(row[13], "-1"), trueHeading),
                         {row[1].get<double>(), row[2].get<double>()}});
    }
}

// FlightRadar24 playback: the flight's identity and its track points.
void addFr24Playback(const fs::path& file, std::vector<RecordedLine>& lines) {
    const json playback = readJson(file);
    const json flight = playback.is_object()
                            ? playback.value("/result/response/data/flight"_json_pointer, json())
                            : json();
    if (!flight.is_object()) return;
    const json aircraft = flight.value("aircraft", json::object());
    const unsigned hexid =
        std::stoul(aircraft.value("/identification/modes"_json_pointer, "0"), nullptr, 16);
    const std::string callsign = flight.value("/identification/callsign"_json_pointer, "null");
    const std::string type = aircraft.value("/model/code"_json_pointer, "null");
    const std::string registration =
        aircraft.value("/identification/registration"_json_pointer, "null");
    for (const json& point : flight.value("track", json::array())) {
        const double lat = point.value("latitude", 0.0);
        const double lon = point.value("longitude", 0.0);
        lines.push_back(
            {datagram(hexid, lat, lon,
                      number(point.value("/altitude/feet"_json_pointer, json()), "0"),
                      number(point.value("/verticalSpeed/fpm"_json_pointer, json()), "0"),
                      number(point.value("heading", json()), ""),
                      number(point.value("/speed/kts"_json_pointer, json()), "0"), callsign, type,
                      registration, point.value("timestamp", 0.0), "adsb_icao", "-1",
                      number(point.value("heading", json()), "-1")),
             {lat, lon}});
    }
}

const std::vector<RecordedLine>& recordedLines() {
    static const std::vector<RecordedLine> lines = [] {
        std::vector<RecordedLine> made;
        const fs::path folder = sharedTrafficFolder();
        if (!fs::is_directory(folder)) return made;
        addReadsbTrace(folder / "readsb_trace_full_ac671b.json", made);
        addFr24Playback(folder / "fr24_34a8254b.json", made);
        addFr24Playback(folder / "fr24_372355e5.json", made);
        return made;
    }();
    return lines;
}

void BM_ProcessLineSub(benchmark::State& state) {
    const std::vector<RecordedLine>& lines = recordedLines();
    if (lines.empty()) {
        state.SkipWithError("no traffic recordings: the shared data folder is absent");
        return;
    }
    corv::common::ModelCodeTable models;
    corv::realtraffic::TrafficQueue queue([] { return 0; });
    queue.setAcceptingTraffic(true);
    corv::realtraffic::TrafficLineState lineState;
    corv::realtraffic::TrafficContext context;
    std::size_t next = 0;
    std::int64_t queued = 0;
    for (auto _ : state) {
        const RecordedLine& line = lines[next];
        next = next + 1 == lines.size() ? 0 : next + 1;
        context.inputs.reference = line.where;
        context.inputs.parkAirport = corv::realtraffic::ParkAirport{line.where, 0.0};
        const auto fate =
            corv::realtraffic::processLineSub(line.datagram, context, lineState, models, queue);
        queued += fate == corv::realtraffic::LineFate::Queued;
        // The run takes the reports in the program; here they are thrown away in batches.
        if (queue.size() >= 4096) queue.clear();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["queued share"] =
        benchmark::Counter(static_cast<double>(queued) / static_cast<double>(state.iterations()));
    state.counters["recorded datagrams"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_ProcessLineSub);

}  // namespace
