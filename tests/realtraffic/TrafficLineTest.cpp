#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <variant>

#include "Datagrams.hpp"
#include "realtraffic/TrafficLine.hpp"
#include "support/LogCapture.hpp"

namespace corv::realtraffic {
namespace {

using test::trafficLine;
constexpr double degToRad = std::numbers::pi / 180.0;

TrafficContext zurichContext() {
    TrafficContext context;
    context.inputs.reference = test::nearZurich;
    context.rangeNm = 40.0;
    return context;
}

using Check = std::function<void(const TrafficReport&)>;
using Expected = std::variant<Drop, std::string, Check>;

struct Case {
    std::string name;
    std::string line;
    Expected expected;
    TrafficContext context = zurichContext();
};

void judge(const Case& c) {
    SCOPED_TRACE(c.name);
    TrafficLineState state;
    common::ModelCodeTable models;
    std::variant<TrafficReport, Drop> result;
    try {
        result = parseTrafficLine(c.line, c.context, state, models);
    } catch (const std::exception& error) {
        ASSERT_TRUE(std::holds_alternative<std::string>(c.expected)) << "error: " << error.what();
        EXPECT_EQ(error.what(), std::get<std::string>(c.expected));
        return;
    }
    if (const Drop* drop = std::get_if<Drop>(&result)) {
        ASSERT_TRUE(std::holds_alternative<Drop>(c.expected))
            << "dropped as " << static_cast<int>(*drop);
        EXPECT_EQ(*drop, std::get<Drop>(c.expected));
        return;
    }
    ASSERT_TRUE(std::holds_alternative<Check>(c.expected)) << "accepted";
    const TrafficReport& report = std::get<TrafficReport>(result);
    EXPECT_EQ(models.text(report.identity.model), "A320") << "the type is interned";
    std::get<Check>(c.expected)(report);
}

TEST(TrafficLine, DocumentedRealLinesAreRead) {
    const auto lines = test::documentedLines("RTTFC,");
    if (lines.size() < 2)
        GTEST_SKIP() << "RealTraffic's documented lines are not in the shared data";
    TrafficContext sydney;
    sydney.inputs.reference = {-33.85, 152.70};
    sydney.rangeNm = 40.0;
    TrafficLineState state;
    common::ModelCodeTable models;

    auto first = std::get<TrafficReport>(parseTrafficLine(lines[0], sydney, state, models));
    EXPECT_EQ(first.hexid, 11234042u);
    EXPECT_EQ(first.callsign, "AAL72");
    EXPECT_EQ(models.text(first.identity.model), "B789");
    EXPECT_EQ(first.registration, "N835AN") << "the stray blank is not part of it";
    EXPECT_EQ(first.origin.str(), "SYD");
    EXPECT_EQ(first.destination.str(), "LAX");
    // Above 19000 ft the full QNH correction applies: (1013.25 - 1013) * 30 ft.
    EXPECT_DOUBLE_EQ(first.altitude, 26407.5);
    EXPECT_TRUE(first.airborne);
    EXPECT_DOUBLE_EQ(first.track, 90.12);
    EXPECT_DOUBLE_EQ(first.groundSpeed, 490.0);
    EXPECT_DOUBLE_EQ(first.verticalSpeed, 1248.0);
    EXPECT_DOUBLE_EQ(first.trueAirspeed, 474.0);
    ASSERT_TRUE(first.trueHeading.has_value()) << "source adsb_icao gives the true heading";
    EXPECT_NEAR(*first.trueHeading, 92.27 * degToRad, 1e-12);
    EXPECT_TRUE(first.headingKnown);
    EXPECT_FALSE(first.bank.has_value()) << "a roll of 0 gives no bank";
    EXPECT_DOUBLE_EQ(first.timestamp, 1645144774.2);

    auto second = std::get<TrafficReport>(parseTrafficLine(lines[1], sydney, state, models));
    EXPECT_EQ(second.callsign, "UAL842");
    EXPECT_FALSE(second.trueHeading.has_value()) << "a prefixed source is not adsb_icao";
    EXPECT_FALSE(second.headingKnown);
    ASSERT_TRUE(second.bank.has_value());
    EXPECT_NEAR(*second.bank, -0.5 * degToRad, 1e-12);
    EXPECT_DOUBLE_EQ(state.lastTimestamp, 1645144889.8);
}

TEST(TrafficLine, EachStepAcceptsDropsOrRejects) {
    TrafficContext withPark = zurichContext();
    withPark.inputs.parkAirport = test::zurichAirport;
    TrafficContext airborneOnly = withPark;
    airborneOnly.airborneOnly = true;

    const std::string base = trafficLine();
    std::vector<Case> cases{
        {"base", base, Check([](const TrafficReport& r) {
             EXPECT_EQ(r.hexid, 4001234u);
             EXPECT_EQ(r.callsign, "SWR123");
             EXPECT_EQ(r.registration, "HB-JLT");
             EXPECT_DOUBLE_EQ(r.altitude, 12000.0) << "no QNH correction below 17000 ft";
             EXPECT_NEAR(*r.bank, -5.0 * degToRad, 1e-12);
             EXPECT_DOUBLE_EQ(r.track, 250.5);
             EXPECT_EQ(r.dueTick, 0) << "the queue stamps it";
         })},
        {"ground vehicle", trafficLine({{27, "SNOW VEH"}}), Drop::GroundVehicle},
        {"28 fields", base.substr(0, base.rfind(',')), "invalid datagram: 28 fields"},
        {"timestamp", trafficLine({{14, "soon"}}), "timestamp:soon"},
        {"latitude text", trafficLine({{2, "N47"}}), "lat:N47"},
        {"latitude nan", trafficLine({{2, "nan"}}), "lat:nan"},
        {"longitude blank", trafficLine({{3, " 8.56"}}), "lon: 8.56"},
        {"latitude 91", trafficLine({{2, "91"}}), "invalid lalo: 91.000000,8.560000"},
        {"no position", trafficLine({{2, "0.0001"}, {3, "-0.00005"}}),
         "invalid lalo: 0.000100,-0.000050"},
        {"out of range", trafficLine({{3, "9.60"}}), Drop::OutOfRange},
        {"antipode", trafficLine({{2, "-47.40"}, {3, "-171.50"}}), Drop::OutOfRange},
        {"registration of 13", trafficLine({{11, "ABCDEFGHIJKLM"}}), Drop::LongRegistration},
        {"registration null", trafficLine({{11, "null"}}),
         Check([](const TrafficReport& r) { EXPECT_EQ(r.registration, ""); })},
        {"no type", trafficLine({{10, ""}}), Drop::NoType},
        {"type null", trafficLine({{10, "null"}}), Drop::NoType},
        {"type of 5", trafficLine({{10, "A3200"}}), Drop::TypeList},
        {"true heading 0", trafficLine({{25, "0"}}), Check([](const TrafficReport& r) {
             EXPECT_DOUBLE_EQ(*r.trueHeading, 2.0 * std::numbers::pi);
             EXPECT_TRUE(r.headingKnown);
         })},
        {"true heading negative", trafficLine({{25, "-1"}}), Check([](const TrafficReport& r) {
             EXPECT_FALSE(r.trueHeading.has_value());
             EXPECT_FALSE(r.headingKnown);
         })},
        {"true heading 361", trafficLine({{25, "361"}}), "trueheading: 361.00"},
        {"true heading text", trafficLine({{25, "n/a"}}), "trueheading:n/a"},
        {"true heading unread", trafficLine({{17, "mlat"}, {25, "n/a"}}),
         Check([](const TrafficReport& r) { EXPECT_FALSE(r.headingKnown); })},
        {"hexid 10000", trafficLine({{1, "10000"}}), Drop::SmallHexid},
        {"hexid 10001 with tail", trafficLine({{1, "10001x"}}),
         Check([](const TrafficReport& r) { EXPECT_EQ(r.hexid, 10001u); })},
        {"hexid abc", trafficLine({{1, "abc"}}), "hexid incorrectabc"},
        {"hexid too big", trafficLine({{1, "4294967296"}}), "hexid incorrect4294967296"},
        {"ground speed", trafficLine({{8, ""}}), "gs:"},
        {"altitude", trafficLine({{4, "FL120"}}),
         "altitude FL120 incorrect, from: " + trafficLine({{4, "FL120"}})},
        {"callsign with @", trafficLine({{9, "SW@R"}}),
         Check([](const TrafficReport& r) { EXPECT_EQ(r.callsign, ""); })},
        {"no registration nor callsign", trafficLine({{9, "null"}, {11, ""}}), Drop::NoIdentity},
        {"30 ft at 20 kt far from a park airport", trafficLine({{4, "30"}, {8, "20"}}),
         Drop::GroundAwayFromPark},
        {"30 ft at 20 kt at the park airport", trafficLine({{4, "30"}, {8, "20"}, {23, "x"}}),
         Check([](const TrafficReport& r) {
             EXPECT_EQ(r.altitude, 0.0);
             EXPECT_FALSE(r.airborne);
             EXPECT_FALSE(r.bank.has_value()) << "the roll of ground traffic is not read";
         }),
         withPark},
        {"airborne only, 84 ft above the park airport", trafficLine({{4, "1500"}}),
         Drop::AirborneOnly, airborneOnly},
        {"airborne only, 184 ft above it", trafficLine({{4, "1600"}}),
         Check([](const TrafficReport& r) { EXPECT_DOUBLE_EQ(r.altitude, 1600.0); }), airborneOnly},
        {"track empty", trafficLine({{7, ""}, {25, "90"}}),
         Check([](const TrafficReport& r) { EXPECT_NEAR(r.track, 90.0, 1e-9); })},
        {"track 0 without heading", trafficLine({{7, "0"}, {17, "mlat"}}),
         Check([](const TrafficReport& r) { EXPECT_DOUBLE_EQ(r.track, 0.0); })},
        {"track text", trafficLine({{7, "east"}}), "track incorrect east"},
        {"vertical speed", trafficLine({{5, "+800"}}), "vs:+800"},
        {"codes in lower case", trafficLine({{12, "zrh"}, {13, "null"}}),
         Check([](const TrafficReport& r) {
             EXPECT_EQ(r.origin.str(), "ZRH");
             EXPECT_TRUE(r.destination.empty());
         })},
        {"code empty", trafficLine({{13, ""}}),
         Check([](const TrafficReport& r) { EXPECT_TRUE(r.destination.empty()); })},
        {"code of 2", trafficLine({{12, "ZR"}}), "'ZR' FixedCode: invalid string (length/charset)"},
        {"roll text", trafficLine({{23, "x"}}), "roll:x"},
        {"roll -1", trafficLine({{23, "-1"}}),
         Check([](const TrafficReport& r) { EXPECT_FALSE(r.bank.has_value()); })},
        {"TAS -1 at 7500 ft", trafficLine({{4, "7500"}, {20, "-1"}}),
         Check([](const TrafficReport& r) { EXPECT_DOUBLE_EQ(r.trueAirspeed, 250.0); })},
        {"TAS text", trafficLine({{20, "fast"}}), "TAS incorrectfast"},
    };
    for (const char* category : {"B1", "B2", "B4", "C1", "C2"})
        cases.push_back(
            {std::string("category ") + category, trafficLine({{28, category}}), Drop::Category});
    for (const char* type :
         {"BALL", "EMER", "GLID", "GRND", "GND", "PARA", "SERV", "SHIP", "TWR", "VENT"})
        cases.push_back({std::string("type ") + type, trafficLine({{10, type}}), Drop::TypeList});
    for (const char* callsign : {"ERARMTR0", "ERARMTR1", "AIRPORT1", "00000000", "TR852", "TEST"})
        cases.push_back({std::string("callsign ") + callsign, trafficLine({{9, callsign}}),
                         Drop::TestCallsign});
    for (const Case& c : cases)
        judge(c);
}

TEST(TrafficLine, TimestampIsKeptEvenWhenTheRecordIsDropped) {
    TrafficLineState state;
    common::ModelCodeTable models;
    const auto result =
        parseTrafficLine(trafficLine({{3, "20.0"}}), zurichContext(), state, models);
    EXPECT_EQ(std::get<Drop>(result), Drop::OutOfRange);
    EXPECT_DOUBLE_EQ(state.lastTimestamp, 1700000000.5);
}

TEST(TrafficLine, CallsignsAreCollectedBeforeTheTypeChecks) {
    TrafficLineState state;
    common::ModelCodeTable models;
    const TrafficContext context = zurichContext();
    parseTrafficLine(trafficLine({{9, "DROPPED1"}, {10, "BALL"}}), context, state, models);
    state.callsigns.start();
    for (const char* callsign : {"SWR1", "", "null", "A@B", "GLIDER1"}) {
        parseTrafficLine(trafficLine({{9, callsign}, {10, "GLID"}}), context, state, models);
    }
    parseTrafficLine(trafficLine({{9, "FAR1"}, {3, "20.0"}}), context, state, models);
    EXPECT_EQ(state.callsigns.takeOver(), (std::unordered_set<std::string>{"SWR1", "GLIDER1"}));
    EXPECT_FALSE(state.callsigns.collecting());
    parseTrafficLine(trafficLine({{9, "LATE1"}}), context, state, models);
    EXPECT_TRUE(state.callsigns.takeOver().empty());
}

TEST(ProcessLineSub, QueuesDueIn3000TicksLogsFaultsOnceAndHonoursAccepting) {
    test::LogCapture logged;
    std::int32_t tick = 500;
    TrafficQueue queue([&tick] { return tick; });
    TrafficLineState state;
    common::ModelCodeTable models;
    const TrafficContext context = zurichContext();

    EXPECT_EQ(processLineSub(trafficLine(), context, state, models, queue), LineFate::NotAccepting);
    queue.setAcceptingTraffic(true);
    EXPECT_EQ(processLineSub(trafficLine(), context, state, models, queue), LineFate::Queued);
    tick = 510;
    EXPECT_EQ(processLineSub(trafficLine({{1, "4001235"}}), context, state, models, queue),
              LineFate::Queued);
    EXPECT_EQ(processLineSub(trafficLine({{1, "abc"}}), context, state, models, queue),
              LineFate::Faulty);
    EXPECT_EQ(processLineSub(trafficLine({{10, "GLID"}}), context, state, models, queue),
              LineFate::Dropped);
    EXPECT_EQ(logged.lines(),
              std::vector<std::string>{"exception in processLineSub: hexid incorrectabc"});

    // The run takes at most two per tick, oldest first.
    TrafficReport taken[2];
    ASSERT_EQ(queue.take(taken), 2u);
    EXPECT_EQ(taken[0].dueTick, 3500);
    EXPECT_EQ(taken[1].hexid, 4001235u);
    EXPECT_EQ(taken[1].dueTick, 3510);
    EXPECT_EQ(queue.take(taken), 0u);
}

// Nothing a datagram holds may crash the reader or read beyond it.
TEST(ProcessLineSub, SurvivesHostileDatagrams) {
    test::LogCapture logged;
    TrafficQueue queue([] { return 0; });
    queue.setAcceptingTraffic(true);
    TrafficLineState state;
    common::ModelCodeTable models;
    const TrafficContext context = zurichContext();
    std::string zeros = trafficLine();
    zeros[20] = '\0';
    std::size_t faults = 0;
    for (const std::string& datagram :
         {std::string(), std::string(","), std::string(28, ','), std::string(5000, ','),
          std::string("\xff\xfe,\x80") + std::string(40, ','), zeros,
          trafficLine({{4, "1e308"}, {8, "1e308"}}), trafficLine({{4, "-inf"}}),
          trafficLine({{20, "1e-320"}})}) {
        if (processLineSub(datagram, context, state, models, queue) == LineFate::Faulty) ++faults;
    }
    EXPECT_EQ(logged.lines().size(), faults) << "one line per faulty datagram";
}

}  // namespace
}  // namespace corv::realtraffic
