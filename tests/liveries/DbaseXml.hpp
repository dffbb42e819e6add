#pragma once

#include <map>
#include <string>

namespace corv::test {

// A small reference file: every required section with a few entries; a test changes or drops
// the sections it is about.
struct DbaseXml {
    std::map<std::string, std::string> sections{
        {"aircrafts",
         R"(<aircraft types="B738,A320,B744"/><aircraft types="C172,C25A,EC35,F16"/>)"},
        {"cargo_types", R"(<cargo_type types="B744"/>)"},
        {"heavy", R"(<hvy types="B744"/>)"},
        {"large", R"(<lar types="A320,B738"/>)"},
        {"buzjet", R"(<bzj types="C25A"/>)"},
        {"high_performance", R"(<hpf types="F16"/>)"},
        {"rotorcraft", R"(<rot types="EC35"/>)"},
        {"ICAO_airlines", R"(<ICAO codes="KLM,DLH"/><ICAO codes="BAW"/>)"},
        {"cargo_operators", R"(<ICAO codes="MPH,KLM"/>)"},
        {"simaddonsP3D", R"(<simaddonP3D arpts="EHAM,YSSY"/>)"},
    };

    std::string text() const {
        std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n";
        for (const auto& [name, body] : sections)
            xml += "<" + name + ">" + body + "</" + name + ">\n";
        return xml + "</root>\n";
    }
};

}  // namespace corv::test
