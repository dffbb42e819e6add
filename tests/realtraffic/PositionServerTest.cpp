#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "platform/TcpServer.hpp"
#include "realtraffic/PositionServer.hpp"
#include "services/MessageLine.hpp"
#include "services/RunState.hpp"
#include "support/Eventually.hpp"
#include "support/LogCapture.hpp"

namespace corv::realtraffic {
namespace {

using namespace std::chrono_literals;

TEST(PositionLines, ScaledAsRealTrafficReadsThem) {
    const PositionSample user{0.05, -0.1, std::numbers::pi, 1234.5, 140.25, 52.3, -4.0};
    EXPECT_EQ(qs121Line(user), "Qs121=-5000;-10000;3.141593;1234500;140250;0.912807;-0.069813\r\n");
    EXPECT_EQ(qs123Line(1796864400), "Qs123=1796864400000\r\n");
    struct Case {
        double latitude;
        double longitude;
        bool position;
    };
    for (const Case& c : {Case{0, 0, false}, Case{0.0001, -0.0001, false}, Case{0.00011, 0, true},
                          Case{0, -0.00011, true}}) {
        EXPECT_EQ(hasPosition(c.latitude, c.longitude), c.position)
            << c.latitude << " " << c.longitude;
    }
}

// RealTraffic's side of the connection.
struct FakeRealTraffic {
    platform::TcpConnection connection;

    bool connect(int port) {
        return test::eventually(
            [&] {
                platform::SocketError error = 0;
                connection = platform::connectTcp("127.0.0.1", port, error);
                return connection.isOpen();
            },
            10s, 10ms);
    }
    // Reads until the text holds the given number of lines.
    std::string readLines(int lines) {
        std::string text;
        char buffer[512];
        while (std::count(text.begin(), text.end(), '\n') < lines) {
            platform::SocketError error = 0;
            const long received = connection.receive(buffer, sizeof buffer, error);
            if (received <= 0) break;
            text.append(buffer, static_cast<std::size_t>(received));
        }
        return text;
    }
};

struct PositionServerTest : ::testing::Test {
    PositionServerTest() { server.start("0"); }
    ~PositionServerTest() override { server.stop(); }

    test::LogCapture logged;
    services::RunState run;
    services::MessageLine messages{[] {}};
    std::vector<std::string> effects;
    std::atomic<bool> lossNoticed{false};  // read by other threads
    PositionServer server{
        run, messages,
        PositionServer::Effects{
            [this](bool on) {
                effects.push_back(on ? "connected" : "disconnected");
                if (!on) lossNoticed = true;
            },
            [this](const std::string& version) { effects.push_back("version " + version); },
            [this] { effects.push_back("remove live traffic"); },
            [this] { effects.push_back("reset receivers"); }}};
    const PositionSample user{0.0, 0.0, 1.0, 3000.0, 150.0, 52.3, 4.76};
};

TEST_F(PositionServerTest, FirstConnectionAsksTheVersionThenSendsPositionsAndTime) {
    FakeRealTraffic realTraffic;
    std::string request;
    std::thread peer([&] {
        realTraffic.connect(server.port());
        request = realTraffic.readLines(1);
        realTraffic.connection.send(R"({"version":"RT 10.0.212","dummy":1})");
    });
    server.connectFirstTime(RealTrafficLocation::Local);
    peer.join();

    EXPECT_EQ(request, "Qs999=version\r\n");
    EXPECT_EQ(effects,
              (std::vector<std::string>{"reset receivers", "version RT 10.0.212", "connected"}));
    EXPECT_TRUE(logged.contains("RealTraffic connected"));
    EXPECT_TRUE(server.connected());

    server.sendPosition(RealTrafficLocation::Local, user);
    server.sendPosition(RealTrafficLocation::Local, PositionSample{});  // no position yet: nothing
    server.sendSimTime(1796864400);
    server.sendSimTime(0);
    EXPECT_EQ(realTraffic.readLines(2), qs121Line(user) + "Qs123=1796864400000\r\n");
}

TEST_F(PositionServerTest, VersionReplyThatIsNoJsonKeepsTheConnection) {
    FakeRealTraffic realTraffic;
    std::thread peer([&] {
        realTraffic.connect(server.port());
        realTraffic.readLines(1);
        realTraffic.connection.send("RealTraffic v10");
    });
    server.connectFirstTime(RealTrafficLocation::Local);
    peer.join();
    const auto lines = logged.lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.starts_with("lf_processRTVersion: JSON parse failed: ");
    }));
    EXPECT_TRUE(server.connected());
}

TEST_F(PositionServerTest, LostRealTrafficIsWaitedForAndNotAskedForItsVersionAgain) {
    FakeRealTraffic first;
    std::thread peer([&] {
        first.connect(server.port());
        first.readLines(1);
        first.connection.send(R"({"version":"1"})");
    });
    server.connectFirstTime(RealTrafficLocation::Local);
    peer.join();
    first.connection.close();
    effects.clear();

    FakeRealTraffic second;
    // RealTraffic comes back once the server has noticed the loss; should either not happen,
    // stopping the server ends any wait for it, so the test fails instead of hanging.
    std::jthread comeback([&] {
        if (!test::eventually([&] { return lossNoticed.load(); }) || !second.connect(server.port()))
            server.stop();
    });
    // The first sends after the peer left may still be buffered; the loss shows within a few.
    ASSERT_TRUE(test::eventually([&] {
        server.sendPosition(RealTrafficLocation::Local, user);
        return !effects.empty();
    })) << "the lost connection was never noticed";
    comeback.join();

    EXPECT_EQ(effects, (std::vector<std::string>{"disconnected", "remove live traffic",
                                                 "reset receivers", "connected"}));
    const auto lines = logged.lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) {
                                return line.ends_with(
                                    " RealTraffic gone? Wait for RealTraffic to re-connect ...");
                            }),
              1);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.ends_with(" RealTraffic re-connected");
    }));
    server.sendPosition(RealTrafficLocation::Local, user);
    EXPECT_EQ(second.readLines(1), qs121Line(user));  // no version request first
}

TEST_F(PositionServerTest, AMissingVersionReplyIsShownOnceTheWaitingMessageHasGone) {
    FakeRealTraffic realTraffic;
    std::thread peer([&] {
        realTraffic.connect(server.port());
        realTraffic.readLines(1);
        realTraffic.connection.close();  // no reply
    });
    server.connectFirstTime(RealTrafficLocation::Local);
    peer.join();
    EXPECT_EQ(messages.texts().message, "No RealTraffic version received?");
}

TEST_F(PositionServerTest, AnyStopOfTheRunEndsAPendingWaitForRealTraffic) {
    // The simulator quits, a new flight, new settings, a failed reader: none of them closes the
    // listening socket, and the run must not hang until RealTraffic comes.
    std::atomic<bool> waitEnded{false};
    std::thread waiting([&] {
        server.connectFirstTime(RealTrafficLocation::Local);
        waitEnded = true;
    });
    run.requestStop(services::ExitReason::SimWasClosed, 0);
    const bool ended = test::eventually([&] { return waitEnded.load(); });
    if (!ended) server.stop();  // lets the thread end, so the failure is reported, not hung
    waiting.join();
    EXPECT_TRUE(ended);
    EXPECT_FALSE(server.connected());
    EXPECT_FALSE(logged.contains("waitForClient interrupted"));
}

TEST_F(PositionServerTest, StopEndsAPendingWaitAndBusyPortsFailClearly) {
    std::thread stopper([&] {
        std::this_thread::sleep_for(50ms);
        server.stop();
    });
    EXPECT_FALSE(server.waitForClient());
    stopper.join();

    PositionServer first{run, messages, {}};
    first.start("0");
    PositionServer second{run, messages, {}};
    try {
        second.start(std::to_string(first.port()));
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()),
                  fmt::format("Bind failed at port {} with error 10048 Address already in use",
                              first.port()));
    }
}

}  // namespace
}  // namespace corv::realtraffic
