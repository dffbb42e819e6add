// Reading the aircraft reference data at start-up: a full file holds about 65536 airframes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <fmt/format.h>

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

void readDbaseXml(benchmark::State& state) {
    const fs::path folder =
        fs::temp_directory_path() / fmt::format("corv-bench-dbase-{}", std::random_device()());
    fs::create_directories(folder);
    const fs::path path = writeDbaseXml(folder);
    for (auto _ : state) {
        corv::liveries::ReferenceData data;
        benchmark::DoNotOptimize(data.readXml(path));
        if (data.dbaseRecords().size() != recordCount) state.SkipWithError("records missing");
    }
    state.SetItemsProcessed(state.iterations() * recordCount);
    fs::remove_all(folder);
}
BENCHMARK(readDbaseXml)->Unit(benchmark::kMillisecond);

}  // namespace
