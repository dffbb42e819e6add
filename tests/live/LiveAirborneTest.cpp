#include <vector>

#include "live/LiveTrafficFixture.hpp"

namespace corv::live {
namespace {

using test::hexid;
using test::objectId;

constexpr double degree = std::numbers::pi / 180.0;

class LiveAirborneTest : public test::LiveTrafficFixture {
  protected:
    // Reports every 10 s for two minutes at the altitudes `altitudeAt` gives, then flown.
    template <class Altitude>
    void fly(Altitude altitudeAt, std::int32_t untilTick) {
        for (int second = 0; second <= 120; second += 10) {
            auto r = report(second, altitudeAt(second));
            r.verticalSpeed = (altitudeAt(second + 1) - altitudeAt(second)) * 60.0;
            traffic.intakeReport(r);
        }
        tickUntil(3051);
        simulator.notices_.post({.objectId = objectId,
                                 .key = static_cast<std::int32_t>(hexid),
                                 .kind = sim::SimNoticeKind::LiveSpawned,
                                 .second = 2500.0});
        tickUntil(untilTick);
    }
    std::vector<std::uint32_t> sent(sim::ClientEventId event) const {
        std::vector<std::uint32_t> data;
        for (const auto& e : simulator.queues_.events)
            if (e.event == event) data.push_back(e.data);
        return data;
    }
};

TEST_F(LiveAirborneTest, ThePitchFollowsTheVerticalSpeed) {
    struct Case {
        double feetPerMinute;
        double pitchDegrees;  // negative is nose up
    };
    for (const Case c : {Case{-3000, 2.5}, Case{0, -3.0}, Case{2400, -11.8}}) {
        traffic.resetRunState();
        simulator.queues_.creations.clear();
        runState.liveTickCount = 0;
        fly([&](double second) { return 20000.0 + c.feetPerMinute / 60.0 * second; }, 7000);
        EXPECT_NEAR(aircraft()->sim.pitch / degree, c.pitchDegrees, 0.05)
            << c.feetPerMinute << " ft/min";
    }
}

TEST_F(LiveAirborneTest, CrossingTenThousandFeetSwitchesTheLightsOnceEachWay) {
    // Down from 11000 ft through 10000 to 8000 ft, then up again to 11000 ft.
    fly(
        [](double second) {
            return second <= 60 ? 11000.0 - 50.0 * second : 8000.0 + 50.0 * (second - 60);
        },
        3000 + 12000 + 500);
    // Activation, the high-level set at the first segment, all on once below, the high-level
    // set once again above: the landing lights and strobes go dark up high.
    EXPECT_EQ(sent(sim::event::landingLightsSet), (std::vector<std::uint32_t>{0, 0, 1, 0}));
    EXPECT_EQ(sent(sim::event::strobesSet), (std::vector<std::uint32_t>{1, 0, 1, 0}));
}

}  // namespace
}  // namespace corv::live
