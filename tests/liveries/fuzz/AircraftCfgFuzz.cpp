// libFuzzer target: any bytes as an aircraft.cfg, read from a file as the scan reads it (so the
// charset detection and UTF-16 decoding are fuzzed too); an odd first byte puts the file into an
// IVAO model set. It may not crash, read out of bounds
// or hang; the sanitizers watch.
#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "liveries/CfgReader.hpp"
#include "liveries/ReferenceData.hpp"

namespace {
using namespace corv::liveries;
namespace fs = std::filesystem;

const char* const referenceXml = R"(<root>
<aircrafts><aircraft types="A320,B738,B744,C25A"/></aircrafts>
<cargo_types><cargo_type types="B744"/></cargo_types>
<heavy><hvy types="B744"/></heavy>
<large><lar types="A320,B738"/></large>
<buzjet><bzj types="C25A"/></buzjet>
<high_performance><hpf types="F16"/></high_performance>
<rotorcraft><rot types="EC35"/></rotorcraft>
<ICAO_airlines><ICAO codes="KLM,DLH,ZZZ"/></ICAO_airlines>
<cargo_operators><ICAO codes="MPH"/></cargo_operators>
<fixes><fx wro="B38" cor="B738"/></fixes>
<simaddonsP3D><simaddonP3D arpts="EHAM"/></simaddonsP3D>
<dbase><d r="PH-BXA" a="KLM" m="B738"/><d r="D-ABC" a="DLH" m="C25A"/></dbase>
</root>)";

struct Reader {
    Reader() : folder(fs::temp_directory_path() / ("corv-cfg-fuzz-" + std::to_string(getpid()))) {
        fs::create_directories(folder / "IVAO_MTL" / "IVAO_B744Fw");
        { std::ofstream(folder / "dbase.xml") << referenceXml; }
        reference.readXml(folder / "dbase.xml");
        files.isFolder = [](const fs::path&) { return true; };
        files.isFile = [](const fs::path&) { return true; };
    }
    ~Reader() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    fs::path folder;
    ReferenceData reference;
    std::set<std::string, std::less<>> unusable{"Banned"};
    LiveryFileCheck files;
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Reader reader;
    const bool ivao = size > 0 && (data[0] & 1) != 0;
    const fs::path path =
        (ivao ? reader.folder / "IVAO_MTL" / "IVAO_B744Fw" : reader.folder) / "aircraft.cfg";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    // A fresh set each time, so a title seen before does not hide the rest of the parse.
    TitlesSeen titles;
    CfgReadContext context{reader.reference, titles, reader.unusable, 1, reader.files};
    readAircraftCfg(path, context);
    return 0;
}
