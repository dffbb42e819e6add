#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "PositionClient.hpp"
#include "Recording.hpp"
#include "SyntheticTraffic.hpp"
#include "TrafficDatagram.hpp"
#include "common/GreatCircle.hpp"
#include "realtraffic/PositionLines.hpp"
#include "support/TempFolder.hpp"

namespace corv::rtfeed {
namespace {

std::vector<std::string> fields(const std::string& datagram) {
    std::vector<std::string> parts;
    std::stringstream stream(datagram);
    std::string part;
    while (std::getline(stream, part, ','))
        parts.push_back(part);
    return parts;
}

TEST(RtFeed, DecodesThePositionLinesTheProgramSends) {
    const realtraffic::PositionSample sent{-0.05, 0.1, 1.5, 3500.0, 140.0, 52.3086, -4.7639};
    std::string line = realtraffic::qs121Line(sent);
    line.resize(line.size() - 2);  // the line end
    const auto decoded = decodeQs121(line);
    ASSERT_TRUE(decoded);
    EXPECT_NEAR(decoded->latitude, 52.3086, 1e-4);
    EXPECT_NEAR(decoded->longitude, -4.7639, 1e-4);
    EXPECT_NEAR(decoded->altitude, 3500.0, 1e-9);
    EXPECT_NEAR(decoded->groundSpeed, 140.0, 1e-9);
    EXPECT_NEAR(decoded->pitch, 2.8648, 1e-3);  // nose up is positive here
    EXPECT_FALSE(decodeQs121("Qs121=1;2;3"));
    EXPECT_FALSE(decodeQs121("Qs123=1"));
}

TEST(RtFeed, DatagramsCarryEveryFieldInItsPlace) {
    TrafficState state;
    state.hexid = 4000001;
    state.latitude = 52.1;
    state.longitude = 4.5;
    state.altitude = 3000;
    state.callsign = "KLM1234";
    state.type = "B738";
    state.registration = "PH-BXA";
    state.origin = "LHR";
    const auto parts = fields(trafficDatagram(state, 1796871696.4));
    ASSERT_EQ(parts.size(), 42u);
    EXPECT_EQ(parts[0], "RTTFC");
    EXPECT_EQ(parts[1], "4000001");
    EXPECT_EQ(parts[9], "KLM1234");
    EXPECT_EQ(parts[10], "B738");
    EXPECT_EQ(parts[12], "LHR");
    EXPECT_EQ(parts[13], "null");
    EXPECT_EQ(parts[14], "1796871696.4");
    EXPECT_EQ(parts[17], "adsb_icao");
    EXPECT_EQ(parts[28], "A3");
    EXPECT_NE(weatherDatagram(1013.2, true).find("\"QNH\": 2992,"), std::string::npos);
    EXPECT_NE(weatherDatagram(1013.2, false).find("\"QNH\": 1013.2,"), std::string::npos);
}

TEST(RtFeed, SyntheticTrafficStaysAroundTheAirportAndLands) {
    const common::GeoPoint airport{47.4647, 8.5492};
    SyntheticTraffic traffic(airport.latitude, airport.longitude, 1416.0, 7);
    std::set<std::uint32_t> hexids;
    bool sawDescent = false;
    bool sawGround = false;
    for (double seconds = 0; seconds < 1800; seconds += 10) {
        for (const TrafficState& state : traffic.at(seconds)) {
            hexids.insert(state.hexid);
            EXPECT_GT(state.hexid, 10000u);
            EXPECT_LT(common::distanceNm(airport, {state.latitude, state.longitude}), 60.0)
                << state.callsign;
            EXPECT_GE(state.altitude, 1416.0 - 1e-6);
            EXPECT_FALSE(state.callsign.empty());
            EXPECT_LE(state.type.size(), 4u);
            sawDescent = sawDescent || state.verticalRate < 0;
            sawGround = sawGround || (state.onGround && state.groundSpeed > 0);
        }
    }
    EXPECT_TRUE(sawDescent);
    EXPECT_TRUE(sawGround);
    EXPECT_GT(hexids.size(), 20u);  // aircraft come and go
}

TEST(RtFeed, RecordingsReadBackWhatWasRecordedAndRefuseDamage) {
    TrafficState state;
    state.hexid = 4921601;
    state.latitude = 47.451588;
    state.longitude = 8.558041;
    state.altitude = 2500;
    state.callsign = "EDW24";
    state.type = "A343";
    state.registration = "HB-JMF";
    state.origin = "ZRH";
    // A datagram as broadcast, recorded, and read back.
    const auto recorded = reportOfDatagram(trafficDatagram(state, 1712400187.5));
    ASSERT_TRUE(recorded);
    test::TempFolder folder;
    {
        std::ofstream out(folder / "rec.csv");
        out << "# a comment\n";
        writeRecordingHeader(out);
        writeRecordedReport(out, *recorded);
        RecordedReport earlier = *recorded;
        earlier.time -= 10;
        writeRecordedReport(out, earlier);
    }
    const std::vector<RecordedReport> read = readRecording((folder / "rec.csv").string());
    ASSERT_EQ(read.size(), 2u);
    EXPECT_DOUBLE_EQ(read[0].time, 1712400177.5);  // in time order
    EXPECT_EQ(read[1].state.hexid, 4921601u);
    EXPECT_EQ(read[1].state.callsign, "EDW24");
    EXPECT_EQ(read[1].state.origin, "ZRH");
    EXPECT_EQ(read[1].state.destination, "null");
    EXPECT_NEAR(read[1].state.latitude, 47.451588, 1e-5);  // datagrams carry five decimals

    EXPECT_FALSE(reportOfDatagram("RTTFC,1,2,3"));
    test::writeFile(folder / "bad.csv",
                    "time,hexid,lat,lon,alt,vs,track,gs,callsign,type,registration,origin,"
                    "destination,category,ground\n1,abc,1,1,0,0,0,0,,,,,,,0\n");
    EXPECT_THROW(readRecording((folder / "bad.csv").string()), std::runtime_error);
}

}  // namespace
}  // namespace corv::rtfeed
