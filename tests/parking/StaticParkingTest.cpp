#include "StaticParkingFixture.hpp"

#include <cmath>

#include "support/LogCapture.hpp"

namespace corv::parking::test {
namespace {

using airports::HalfHourSet;

class StaticParkingTest : public StaticParkingFixture {
  protected:
    // KLM1 on S1 and KLM2 on S2, far apart: one created, the other still queued.
    void oneActiveOneQueued() {
        addStand(0, {entry("KLM1", "", HalfHourSet::range(20, 30))});
        addStand(200, {entry("KLM2", "", HalfHourSet::range(20, 30))});
        statics.calculate(wednesdayNoon, {}, "", "");
        statics.placeNextStatic();
        statics.placeNextStatic();
        statics.onCreationSlot(queues);
        spawnAll();
        for (const StaticView& view : statics.staticAircraft())
            (view.active ? active : queued) = view;
        ASSERT_TRUE(active.active && !queued.active && !queued.removing);
    }
    StaticView active, queued;
};

TEST_F(StaticParkingTest, EachStaticShowsTheCallsignOfItsStayOnItsStand) {
    addStand(0, {entry("KLM11_", "", HalfHourSet::range(20, 30))});
    // Leaves after this half hour: it shows the callsign it departs with.
    addStand(100, {entry("KLM22", "KLM33", HalfHourSet::range(20, 24))});
    addStand(200, {entry("KLM44", "KLM55", HalfHourSet::range(20, 30))});
    addStand(300, {entry("", "", HalfHourSet::range(20, 30))});
    airport.stands[0].heading = std::numbers::pi / 2;

    statics.calculate(wednesdayNoon, {}, "", "");
    EXPECT_TRUE(statics.busy());
    placeAll();
    EXPECT_FALSE(statics.busy() && !statics.finishWhenPlaced());

    std::vector<std::string> tails;
    for (const sim::CreationRequest& request : queues.creations)
        tails.push_back(request.tailNumber);
    std::ranges::sort(tails);
    ASSERT_EQ(tails.size(), 4U);
    // The one without callsigns is named by its airline code and its aircraft key.
    EXPECT_TRUE(tails[0].starts_with("KLM") && tails[0].ends_with("*") && tails[0].size() == 5)
        << tails[0];
    EXPECT_EQ(tails[1], "KLM11*");
    EXPECT_EQ(tails[2], "KLM33*");
    EXPECT_EQ(tails[3], "KLM44*");

    const auto first =
        std::ranges::find(queues.creations, "KLM11*", &sim::CreationRequest::tailNumber);
    EXPECT_DOUBLE_EQ(first->position.latitude, airport.stands[0].latitude);
    EXPECT_NEAR(first->position.heading, 90.0, 1e-9);
    EXPECT_TRUE(first->position.onGround);
    EXPECT_EQ(first->liveryTitle, "KLM 738");
    EXPECT_LE(first->key, sim::lastStaticKey);
}

TEST_F(StaticParkingTest, AircraftAlreadyOnOrBesideTheStandPreventThePlacing) {
    addStand(0, {entry("KLM1", "", HalfHourSet::range(20, 30))});
    addStand(30, {entry("KLM2", "", HalfHourSet::range(20, 30))});  // overlaps the first
    addStand(200, {entry("KLM3", "", HalfHourSet::range(20, 30))});
    addStand(400, {entry("KLM4", "", HalfHourSet::range(20, 30))});
    ASSERT_EQ(airport.stands[0].neighbours, std::vector<std::int32_t>{2});

    live.parked.push_back({"DAL1", "S3", true});
    airport.stands[3].liveClaimed = true;
    statics.calculate(wednesdayNoon, {}, "", "");
    placeAll();
    // Of the neighbours one is found; S3 holds a live aircraft, S4 is claimed by one.
    EXPECT_EQ(names().size(), 1U);
}

TEST_F(StaticParkingTest, NoticesCarryAStaticFromCreationToRemoval) {
    addStand(0, {entry("KLM1", "", HalfHourSet::range(20, 30))});
    addStand(100, {entry("KLM2", "", HalfHourSet::range(20, 30))});
    addStand(200, {entry("KLM3", "", HalfHourSet::range(20, 30))});
    statics.calculate(wednesdayNoon, {}, "", "");
    statics.placeNextStatic();
    statics.placeNextStatic();
    statics.onCreationSlot(queues);  // hands one over, places the third
    ASSERT_EQ(queues.creations.size(), 1U);
    const sim::AircraftKey created = queues.creations.front().key;
    spawnAll();
    EXPECT_EQ(statics.activeCount(), 1);

    // A creation the simulator refused is forgotten.
    statics.onCreationSlot(queues);
    const sim::AircraftKey refused = queues.creations.front().key;
    EXPECT_TRUE(statics.onNotice({.key = refused, .kind = sim::SimNoticeKind::CreateFailed}));
    EXPECT_EQ(statics.table().size(), 2U);

    // Leaving: the active one goes through the removal queue, the queued one is withdrawn.
    statics.removeAll();
    EXPECT_EQ(statics.queuedCount(), 0);
    const std::optional<sim::ObjectId> removal = statics.nextRemoval();
    ASSERT_TRUE(removal.has_value());
    EXPECT_FALSE(statics.nextRemoval().has_value());
    EXPECT_TRUE(statics.onNotice({.objectId = *removal, .kind = sim::SimNoticeKind::Removed}));
    EXPECT_TRUE(statics.table().empty());
    EXPECT_NE(created, refused);

    // A new run starts with nothing of the last one: no aircraft waiting, none counted as placed.
    statics.calculate(wednesdayNoon, {}, "", "");
    statics.placeNextStatic();
    statics.forgetAll();
    EXPECT_TRUE(statics.table().empty());
    EXPECT_EQ(statics.queuedCount(), 0);
    EXPECT_EQ(statics.candidateCount(), 0U);
    EXPECT_FALSE(statics.busy());
}

TEST_F(StaticParkingTest, TheStaticsOnAStandALiveAircraftTakesMakeWay) {
    oneActiveOneQueued();
    corv::test::LogCapture log;
    const LiveClaim claim{"DLH5", "D-ABCD", 17.0 / 1852.0};

    statics.makeWayFor(airport.stands[static_cast<std::size_t>(queued.standNumber - 1)], claim);
    EXPECT_EQ(statics.queuedCount(), 0);
    EXPECT_EQ(statics.table().size(), 1U);
    EXPECT_TRUE(log.contains(fmt::format("queued {:8}: {:8} {} makes way for DLH5 D-ABCD",
                                         airport.standIdOf(queued.standNumber), queued.name,
                                         queued.registration)));

    statics.makeWayFor(airport.stands[static_cast<std::size_t>(active.standNumber - 1)], claim);
    EXPECT_EQ(statics.nextRemoval(), std::optional<sim::ObjectId>{active.objectId});
    EXPECT_TRUE(log.contains(fmt::format("{:8}: {:8} {} makes way for DLH5 D-ABCD",
                                         airport.standIdOf(active.standNumber), active.name,
                                         active.registration)));
}

TEST_F(StaticParkingTest, TheLiveTrafficSeesTheStaticsAndRemovesThem) {
    oneActiveOneQueued();
    EXPECT_EQ(active.occupiedSince, airports::weekSlot(wednesdayNoon));
    EXPECT_NEAR(active.radiusNm * 1852.0, 35.8 / 2, 0.01);
    const airports::Stand& stand = airport.stands[static_cast<std::size_t>(active.standNumber - 1)];
    EXPECT_DOUBLE_EQ(active.standPosition.latitude, stand.latitude);
    EXPECT_DOUBLE_EQ(active.standPosition.longitude, stand.longitude);

    statics.removeStatic(queued.key);
    statics.removeStatic(active.key);
    const std::vector<StaticView> left = statics.staticAircraft();
    ASSERT_EQ(left.size(), 1U);
    EXPECT_TRUE(left[0].removing && !left[0].active);
    EXPECT_EQ(statics.nextRemoval(), std::optional<sim::ObjectId>{active.objectId});
    EXPECT_EQ(statics.queuedCount(), 0);
}

}  // namespace
}  // namespace corv::parking::test
