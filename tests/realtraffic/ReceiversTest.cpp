#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <utility>

#include "Datagrams.hpp"
#include "platform/UdpReceiver.hpp"
#include "platform/UdpSender.hpp"
#include "realtraffic/Receivers.hpp"
#include "services/MessageLine.hpp"
#include "services/RunState.hpp"
#include "services/SocketErrorText.hpp"
#include "support/LogCapture.hpp"
#include "support/ParameterReset.hpp"

namespace corv::realtraffic {
namespace {

using namespace std::chrono_literals;
using test::trafficLine;

template <typename Condition>
bool eventually(Condition condition) {
    for (int wait = 0; wait < 500; ++wait) {
        if (condition()) return true;
        std::this_thread::sleep_for(10ms);
    }
    return condition();
}

struct ReceiversTest : ::testing::Test {
    ReceiversTest() {
        test::resetParameters();
        // Port 0: the system picks free ports, so parallel tests never collide.
        options.weatherPort = 0;
        options.trafficPort = 0;
        options.receiveTimeout = 100ms;
        options.trafficStartDelay = 0ms;
    }
    ~ReceiversTest() override { test::resetParameters(); }

    void send(int port, const std::string& datagram, const std::string& from = {}) {
        platform::UdpSender sender("127.0.0.1", port, from);
        ASSERT_TRUE(sender.isOpen());
        ASSERT_EQ(sender.send(datagram), 0);
    }
    void startAndAccept(RealTrafficLocation location) {
        receivers->start(location);
        // The traffic receiver shows both statuses, so each socket's own port tells when it is
        // bound.
        ASSERT_TRUE(eventually([&] {
            return receivers->trafficStatus() == ReaderStatus::Receiving &&
                   receivers->weatherStatus() == ReaderStatus::Receiving &&
                   receivers->qnhReader().localPort() != 0 &&
                   receivers->trafficReader().localPort() != 0;
        }));
        weatherPort = receivers->qnhReader().localPort();
        trafficPort = receivers->trafficReader().localPort();
        receivers->setUserPosition(test::nearZurich, 0.0);
        receivers->setAcceptingTraffic(true);
    }
    // The datagram with this timestamp has been read, and so have all sent before it.
    bool readUpTo(const std::string& timestamp) {
        return eventually([&] { return receivers->lastTimestamp() == std::stod(timestamp); });
    }

    test::LogCapture logged;
    services::RunState run;
    services::MessageLine messages{[] {}};
    common::ModelCodeTable models;
    std::atomic<int> repaints{0};
    std::atomic<std::int32_t> shownQnh{0};
    ReceiverOptions options;
    int weatherPort = 0;
    int trafficPort = 0;
    std::unique_ptr<Receivers> receivers = std::make_unique<Receivers>(
        run, messages, models, [] { return 100; },
        ReceiverEffects{[this] { ++repaints; }, [this](std::int32_t qnh) { shownQnh = qnh; }},
        ReceiverOptions{});

    void build() {
        receivers.reset();
        receivers = std::make_unique<Receivers>(
            run, messages, models, [] { return 100; },
            ReceiverEffects{[this] { ++repaints; }, [this](std::int32_t qnh) { shownQnh = qnh; }},
            options);
    }
};

TEST_F(ReceiversTest, WeatherAndTrafficArriveOverUdpAndStopCleanly) {
    build();
    startAndAccept(RealTrafficLocation::Local);
    send(weatherPort, R"({"ICAO": "LSZH", "QNH": 1020})");
    ASSERT_TRUE(eventually([&] { return receivers->qnh() == 1020; }));
    EXPECT_EQ(shownQnh, 1020);
    send(trafficPort, trafficLine());
    ASSERT_TRUE(eventually([&] { return receivers->queue().size() == 1; }));
    TrafficReport taken[2];
    ASSERT_EQ(receivers->queue().take(taken), 1u);
    EXPECT_EQ(taken[0].dueTick, 3100);

    receivers->stop();
    EXPECT_EQ(receivers->trafficStatus(), ReaderStatus::Stopped);
    EXPECT_EQ(receivers->weatherStatus(), ReaderStatus::Stopped);
    for (const char* line :
         {"QNH Reader connected", "Traffic Reader connected", "Traffic Reader has stopped",
          "Traffic Reader disconnected", "QNH Reader has stopped", "QNH Reader disconnected"})
        EXPECT_TRUE(logged.contains(line)) << line;
    EXPECT_FALSE(run.stopRequested);
}

TEST_F(ReceiversTest, ADatagramOf16383BytesIsReadAndOneOf16384IsNot) {
    build();
    startAndAccept(RealTrafficLocation::Local);
    const auto sized = [](std::size_t bytes, const char* hexid) {
        const std::string bare = trafficLine({{1, hexid}, {29, ""}});
        return trafficLine({{1, hexid}, {29, std::string(bytes - bare.size(), 'x')}});
    };
    ASSERT_EQ(sized(16383, "4000001").size(), 16383u);
    send(trafficPort, sized(16383, "4000001"));
    send(trafficPort, sized(16384, "4000002"));
    send(trafficPort, sized(20000, "4000003"));
    send(trafficPort, trafficLine({{1, "4000004"}, {14, "1700000001"}}));
    ASSERT_TRUE(readUpTo("1700000001"));
    // Stopping waits for the datagram in hand, so every report has been queued.
    receivers->stop();

    TrafficReport taken[2];
    ASSERT_EQ(receivers->queue().take(taken), 2u);
    EXPECT_EQ(taken[0].hexid, 4000001u);
    EXPECT_EQ(taken[1].hexid, 4000004u);
    EXPECT_TRUE(logged.contains("buffer overrun: 16384 bytes"));
    EXPECT_TRUE(logged.contains("buffer overrun: 20000 bytes"));
}

TEST_F(ReceiversTest, ARepeatedDatagramIsReadOnceOnlyWhenRealTrafficRunsElsewhere) {
    settings::RT_IP_ADDRESS.setCurrent("127.0.0.1");
    for (const auto& [location, expected] :
         {std::pair{RealTrafficLocation::Remote, 2u}, std::pair{RealTrafficLocation::Local, 3u}}) {
        build();
        startAndAccept(location);
        send(trafficPort, trafficLine());
        send(trafficPort, trafficLine());
        send(trafficPort, trafficLine({{14, "1700000002"}}));
        ASSERT_TRUE(readUpTo("1700000002"));
        // Stopping waits for the datagram in hand, so every report has been queued.
        receivers->stop();
        EXPECT_EQ(receivers->queue().size(), expected) << static_cast<int>(location);
    }
}

TEST_F(ReceiversTest, ARepeatedWeatherDatagramKeepsTheWeatherAliveForTheWatchdog) {
    settings::RT_IP_ADDRESS.setCurrent("127.0.0.1");
    build();
    startAndAccept(RealTrafficLocation::Remote);
    const std::string weather = R"({"ICAO": "LSZH", "QNH": 1020})";
    send(weatherPort, weather);
    ASSERT_TRUE(eventually([&] { return receivers->qnh() == 1020; }));
    receivers->runWatchdog(true);
    ASSERT_EQ(receivers->weatherStatus(), ReaderStatus::Receiving);

    // RealTraffic repeats the unchanged weather: it is not read again, but it did arrive.
    send(weatherPort, weather);
    ASSERT_TRUE(eventually([&] { return receivers->qnhReader().gauge().datagrams == 2u; }));
    receivers->runWatchdog(true);
    EXPECT_EQ(receivers->weatherStatus(), ReaderStatus::Receiving);
}

TEST_F(ReceiversTest, WithRealTrafficOnAnotherPcOnlyItsDatagramsAreRead) {
    // 127.0.0.2 is another host on the loopback network: RealTraffic's PC in this test.
    settings::RT_IP_ADDRESS.setCurrent("127.0.0.2");
    build();
    startAndAccept(RealTrafficLocation::Remote);
    send(trafficPort, trafficLine({{1, "4000001"}}), "127.0.0.2");
    send(trafficPort, trafficLine({{1, "4000002"}}), "127.0.0.3");
    send(trafficPort, trafficLine({{1, "4000003"}, {14, "1700000003"}}), "127.0.0.2");
    ASSERT_TRUE(readUpTo("1700000003"));
    receivers->stop();

    TrafficReport taken[3];
    ASSERT_EQ(receivers->queue().take(taken), 2u);
    EXPECT_EQ(taken[0].hexid, 4000001u);
    EXPECT_EQ(taken[1].hexid, 4000003u);
    EXPECT_FALSE(run.stopRequested) << "binding must not depend on the other PC's address";
}

TEST_F(ReceiversTest, AReceiverThatCannotBindEndsTheRunWithReaderError) {
    platform::UdpReceiver occupant;
    ASSERT_FALSE(occupant.open("127.0.0.1", 0, 100ms));
    options.trafficPort = occupant.localPort();
    build();
    receivers->start(RealTrafficLocation::Local);
    ASSERT_TRUE(eventually([&] { return logged.contains("Traffic Reader disconnected"); }));

    const std::string error =
        "The Traffic Reader has stopped with error: bind to stream "
        "socket failed, error: " +
        services::socketErrorText(10048);
    EXPECT_EQ(messages.texts().message, error);
    EXPECT_TRUE(logged.contains(error));
    EXPECT_TRUE(run.stopRequested);
    EXPECT_EQ(run.exitReason(), services::ExitReason::ReaderError);
    EXPECT_EQ(run.restartDelaySeconds(), 15);
    EXPECT_EQ(receivers->trafficStatus(), ReaderStatus::Stopped);
    EXPECT_FALSE(logged.contains("Traffic Reader connected"));
}

TEST_F(ReceiversTest, AnAddressThatIsNoAddressCannotBeBound) {
    settings::RT_IP_ADDRESS.setCurrent("10.0.0.300");
    build();
    receivers->start(RealTrafficLocation::Remote);
    ASSERT_TRUE(eventually([&] { return logged.contains("QNH Reader disconnected"); }));
    EXPECT_TRUE(
        logged.contains("The QNH Reader has stopped with error: bind to stream socket "
                        "failed, error: " +
                        services::socketErrorText(10049)));
    EXPECT_EQ(run.exitReason(), services::ExitReason::ReaderError);
}

TEST_F(ReceiversTest, TheUserPositionAndTheParkAirportAreSetEachOnItsOwn) {
    TrafficReader& reader = receivers->trafficReader();
    receivers->setAcceptingTraffic(true);
    const std::string onTheGround = trafficLine({{4, "30"}, {8, "20"}});
    receivers->setParkAirport(test::zurichAirport);
    // The user position comes every 5 seconds; it must not forget the park airport.
    receivers->setUserPosition(test::nearZurich, 0.0);
    reader.processDatagram(onTheGround);
    EXPECT_EQ(receivers->queue().size(), 1u) << "ground traffic at the park airport is read";

    receivers->setParkAirport(std::nullopt);
    reader.processDatagram(onTheGround);
    EXPECT_EQ(receivers->queue().size(), 1u) << "without a park airport it is not";
    receivers->setParkAirport(test::zurichAirport);
    receivers->setUserPosition({-33.85, 151.20}, 0.0);
    reader.processDatagram(onTheGround);
    EXPECT_EQ(receivers->queue().size(), 1u) << "out of range of the user";
}

TEST_F(ReceiversTest, TrafficIsReadWithinTheRadiusSetting) {
    TrafficReader& reader = receivers->trafficReader();
    receivers->setAcceptingTraffic(true);
    receivers->setUserPosition(test::nearZurich, 0.0);
    const std::string eighteenMilesNorth = trafficLine({{2, "47.70"}, {3, "8.50"}});
    // As read from the settings file, chosen in the list or set by the automatic radius.
    for (const auto& [nauticalMiles, read] :
         {std::pair{10, false}, std::pair{40, true}, std::pair{16, false}, std::pair{100, true}}) {
        settings::RANGE.setCurrent(nauticalMiles);
        const std::size_t before = receivers->queue().size();
        reader.processDatagram(eighteenMilesNorth);
        EXPECT_EQ(receivers->queue().size() > before, read) << nauticalMiles << " nm";
    }
}

TEST(ListenAddresses, FollowWhereRealTrafficRuns) {
    using L = ListenAddresses;
    EXPECT_EQ(listenAddressesFor(RealTrafficLocation::Remote, "192.168.1.20"),
              (L{"", "192.168.1.20"}));
    EXPECT_EQ(listenAddressesFor(RealTrafficLocation::Local, "192.168.1.20"), (L{"127.0.0.1", ""}));
    EXPECT_EQ(listenAddressesFor(RealTrafficLocation::NotDetected, "127.0.0.1"), (L{"", ""}));
}

TEST_F(ReceiversTest, WatchdogMarksQuietReceiversAndLeavesStoppedOnes) {
    ReceiverGauge& weather = receivers->qnhReader().gauge();
    ReceiverGauge& traffic = receivers->trafficReader().gauge();
    EXPECT_FALSE(receivers->runWatchdog(true)) << "stopped receivers stay stopped";
    EXPECT_EQ(traffic.status, ReaderStatus::Stopped);

    weather.status = ReaderStatus::Receiving;
    traffic.status = ReaderStatus::Receiving;
    EXPECT_FALSE(receivers->runWatchdog(false)) << "nothing while RealTraffic is away";
    EXPECT_FALSE(receivers->receiverIdle());

    EXPECT_TRUE(receivers->runWatchdog(true));
    EXPECT_EQ(weather.status, ReaderStatus::NoNewData);
    EXPECT_EQ(traffic.status, ReaderStatus::NoNewData);
    EXPECT_TRUE(receivers->receiverIdle());
    EXPECT_EQ(repaints, 1);

    ++traffic.datagrams;
    weather.datagrams = 5;
    EXPECT_TRUE(receivers->runWatchdog(true));
    EXPECT_EQ(traffic.status, ReaderStatus::Receiving);
    EXPECT_EQ(weather.status, ReaderStatus::Receiving);
    EXPECT_FALSE(receivers->runWatchdog(false));
    EXPECT_TRUE(receivers->runWatchdog(true));
    EXPECT_EQ(traffic.status, ReaderStatus::NoNewData);

    // After a reset the weather count starts again from 0, and so does the watchdog's copy.
    receivers->resetRunState();
    EXPECT_EQ(weather.datagrams, 0u);
    EXPECT_FALSE(receivers->runWatchdog(true)) << "nothing arrived since the reset";
    EXPECT_EQ(weather.status, ReaderStatus::NoNewData);
    EXPECT_EQ(receivers->qnh(), 1013);
}

}  // namespace
}  // namespace corv::realtraffic
