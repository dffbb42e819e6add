#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Datagrams.hpp"
#include "realtraffic/QnhDatagram.hpp"
#include "realtraffic/QnhReader.hpp"
#include "services/MessageLine.hpp"
#include "services/RunState.hpp"
#include "support/LogCapture.hpp"

namespace corv::realtraffic {
namespace {

TEST(QnhDatagram, HectopascalOrHundredthsOfAnInchClampedToTheRange) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {R"({"QNH": 2992})", 1013},   {R"({"QNH": 850})", 900},
        {R"({"QNH": "1015"})", 1015}, {R"({"QNH": 1013.6})", 1014},
        {R"({"QNH": 1019.7})", 1020}, {R"({"QNH": 1100})", 1100},
        {R"({"QNH": 1101})", 900},  // 1101 hundredths of an inch: 373 hPa
        {R"({"QNH": 3500})", 1100},   {R"({"QNH": -20})", 900},
        {R"({"QNH": "-20"})", 900},   {R"({"QNH": 18446744073709551615})", 1100},
        {R"({"QNH": 1e300})", 1100},
    };
    for (const auto& [datagram, hectopascal] : cases) {
        const QnhReading reading = readQnhDatagram(datagram);
        EXPECT_EQ(reading.hectopascal, hectopascal) << datagram;
        EXPECT_EQ(reading.logLine, "") << datagram;
    }
}

TEST(QnhDatagram, DocumentedWeatherLines) {
    const auto lines = test::documentedLines("{\"ICAO\"");
    if (lines.size() < 2)
        GTEST_SKIP() << "RealTraffic's documented lines are not in the shared data";
    EXPECT_EQ(readQnhDatagram(lines[0]).hectopascal, 1015) << "2996 hundredths of an inch";
    EXPECT_EQ(readQnhDatagram(lines[1]).hectopascal, 1015);
}

TEST(QnhDatagram, WhatSaysNothingIsLogged) {
    for (const char* datagram : {R"({"ICAO": "KJFK"})", R"({"QNH": null})", R"({"QNH": {}})",
                                 R"({"QNH": []})", R"({"QNH": true})", R"([1013])", "1013"}) {
        const QnhReading reading = readQnhDatagram(datagram);
        EXPECT_FALSE(reading.hectopascal) << datagram;
        EXPECT_EQ(reading.logLine, std::string("no QNH ") + datagram);
    }
    const QnhReading text = readQnhDatagram(R"({"QNH": "high"})");
    EXPECT_FALSE(text.hectopascal);
    EXPECT_EQ(text.logLine, R"(QNH string parse error: high in {"QNH": "high"})");
    const QnhReading broken = readQnhDatagram(R"({"QNH": 10)");
    EXPECT_FALSE(broken.hectopascal);
    EXPECT_EQ(broken.logLine.rfind("Exception [json.exception.parse_error", 0), 0u)
        << broken.logLine;
    EXPECT_TRUE(broken.logLine.ends_with(R"(, in {"QNH": 10)")) << broken.logLine;
}

struct QnhReaderTest : ::testing::Test {
    test::LogCapture logged;
    services::RunState run;
    services::MessageLine messages{[] {}};
    common::ModelCodeTable models;
    TrafficQueue queue{[] { return 0; }};
    ReceiverGauge weatherGauge;
    ReceiverGauge trafficGauge;
    int repaints = 0;
    std::vector<std::int32_t> shown;
    ReaderServices services{run, messages, [this] { ++repaints; }};
    TrafficReader traffic{services, trafficGauge, weatherGauge, models, queue};
    QnhReader weather{services, weatherGauge, traffic,
                      [this](std::int32_t qnh) { shown.push_back(qnh); }};
};

TEST_F(QnhReaderTest, ANewValueReachesTheTrafficAndTheWindow) {
    weatherGauge.status = ReaderStatus::NoNewData;
    weather.processDatagram(R"({"QNH": 1015})");
    EXPECT_EQ(weather.lastQnh(), 1015);
    EXPECT_EQ(traffic.qnh(), 1015);
    EXPECT_EQ(weatherGauge.status, ReaderStatus::Receiving);

    weather.processDatagram(R"({"QNH": 1015})");
    weather.processDatagram(R"({"QNH": "oops"})");
    weather.processDatagram(R"({"QNH": 2992})");
    weather.processDatagram(R"({"QNH": 2992})");
    EXPECT_EQ(shown, (std::vector<std::int32_t>{1015, 1013, 1013})) << "1013 always passes";
    EXPECT_EQ(traffic.qnh(), 1013);
    EXPECT_EQ(repaints, 3);
    EXPECT_EQ(logged.lines(),
              std::vector<std::string>{R"(QNH string parse error: oops in {"QNH": "oops"})"});
}

TEST_F(QnhReaderTest, ResetGoesBackTo1013) {
    weather.processDatagram(R"({"QNH": 990})");
    weatherGauge.datagrams = 7;
    weather.reset();
    traffic.reset();
    EXPECT_EQ(weather.lastQnh(), 1013);
    EXPECT_EQ(traffic.qnh(), 1013);
    EXPECT_EQ(weatherGauge.datagrams, 0u);
}

}  // namespace
}  // namespace corv::realtraffic
