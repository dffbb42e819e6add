// Loading the data files at start-up (decrypt, parse, delete the plain file): the shipped
// reference data and airport catalogue, and a reference file with 65536 airframes. Together
// they must load well under half a second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "airports/AirportCatalogue.hpp"
#include "airports/ReadAirports.hpp"
#include "data/EncryptedFile.hpp"
#include "liveries/ReferenceData.hpp"

namespace {

namespace fs = std::filesystem;

constexpr int recordCount = 65536;

// A reference file with every section and the records in no particular order, so that reading
// has to sort them.
fs::path writeDbaseXml(const fs::path& folder) {
    const std::vector<std::string> models{"A319", "A320", "A321", "A332", "A359", "B38M", "B738",
                                          "B744", "B77W", "B789", "C172", "C25A", "CRJ9", "E190",
                                          "EC35", "F16",  "AT76", "DH8D", "A388", "B748"};
    const std::vector<std::string> airlines{"KLM", "DLH", "BAW", "AFR", "UAL", "DAL", "AAL",
                                            "RYR", "EZY", "SWR", "AUA", "SAS", "FDX", "UPS"};
    std::vector<int> order(recordCount);
    for (int i = 0; i < recordCount; ++i)
        order[i] = i;
    std::mt19937 random(42);
    std::shuffle(order.begin(), order.end(), random);

    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n";
    text += "<aircrafts><aircraft types=\"";
    for (const std::string& model : models)
        text += model + ",";
    text += "\"/></aircrafts>\n";
    text += R"(<cargo_types><cargo_type types="B748,B744"/></cargo_types>
<heavy><hvy types="A332,A359,B744,B77W,B789,A388,B748"/></heavy>
<large><lar types="A319,A320,A321,B38M,B738,CRJ9,E190,AT76,DH8D"/></large>
<buzjet><bzj types="C25A"/></buzjet>
<high_performance><hpf types="F16"/></high_performance>
<rotorcraft><rot types="EC35"/></rotorcraft>
<similar_types><similar types="A319,A320,A321"/><similar types="B738,B38M"/></similar_types>
<prefixes><similar types="PH"/><similar types="D"/><similar types="N"/></prefixes>
<ICAO_airlines><ICAO codes="KLM,DLH,BAW,AFR,UAL,DAL,AAL,RYR,EZY,SWR,AUA,SAS"/></ICAO_airlines>
<cargo_operators><ICAO codes="FDX,UPS"/></cargo_operators>
<publishers><pub names="Orbx,ORBX Global"/><pub names="Aerosoft"/></publishers>
<wingspans><wingspan type="B738" meters="35.79"/><wingspan type="A320" meters="35.80"/></wingspans>
<fixes><fx wro="B38" cor="B738"/></fixes>
<simaddonsP3D><simaddonP3D arpts="EHAM,YSSY,KSFO"/></simaddonsP3D>
<thirdpartiesP3D><thirdpartieP3D pub="Aerosoft" arpts="LOWW,EDDF"/></thirdpartiesP3D>
<dbase>
)";
    for (const int i : order) {
        text += fmt::format(R"(<d r="N{:05}" a="{}" o="" m="{}" c="{}"/>)", i,
                            airlines[i % airlines.size()], models[i % models.size()],
                            i % 17 == 0 ? "true" : "false");
        text += '\n';
    }
    text += "</dbase>\n</root>\n";

    const fs::path path = folder / "dbase.xml";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// A folder of its own for each benchmark; the loads write and delete plain files there.
fs::path benchFolder(const char* name) {
    const fs::path folder =
        fs::temp_directory_path() / fmt::format("corv-bench-{}-{}", name, std::random_device()());
    fs::create_directories(folder);
    return folder;
}

void loadDbaseOf65536Airframes(benchmark::State& state) {
    const fs::path folder = benchFolder("dbase");
    const fs::path plain = writeDbaseXml(folder);
    corv::data::streamEncrypt(corv::data::programKey(), plain, folder / "dbase.enc");
    fs::remove(plain);
    for (auto _ : state) {
        corv::liveries::ReferenceData data;
        benchmark::DoNotOptimize(data.load(folder));
        if (data.dbaseRecords().size() != recordCount) state.SkipWithError("records missing");
    }
    state.SetItemsProcessed(state.iterations() * recordCount);
    fs::remove_all(folder);
}
BENCHMARK(loadDbaseOf65536Airframes)->Unit(benchmark::kMillisecond);

// The files the build made from data/ for the installation.
fs::path shippedFolder() {
    const fs::path folder = benchFolder("shipped");
    for (const char* name : {"dbase.enc", "airports.enc"}) {
        fs::copy_file(fs::path(CORV_SHIPPED_INPUT) / name, folder / name);
    }
    return folder;
}

void loadShippedReferenceData(benchmark::State& state) {
    const fs::path folder = shippedFolder();
    for (auto _ : state) {
        corv::liveries::ReferenceData data;
        if (!data.load(folder)) state.SkipWithError("reference data not loaded");
    }
    fs::remove_all(folder);
}
BENCHMARK(loadShippedReferenceData)->Unit(benchmark::kMillisecond);

void loadShippedAirportCatalogue(benchmark::State& state) {
    const fs::path folder = shippedFolder();
    for (auto _ : state) {
        corv::airports::AirportCatalogue catalogue;
        if (!corv::airports::gf_readAirports(catalogue, folder)) state.SkipWithError("no airports");
    }
    fs::remove_all(folder);
}
BENCHMARK(loadShippedAirportCatalogue)->Unit(benchmark::kMillisecond);

}  // namespace
