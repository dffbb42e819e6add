#include <string>
#include <vector>

#include "StaticParkingFixture.hpp"
#include "airports/AirportFilesFixture.hpp"
#include "parking/ParkAirports.hpp"
#include "support/FeedStandIn.hpp"
#include "support/LogCapture.hpp"
#include "support/QuietWindow.hpp"
#include "support/RecordedControls.hpp"
#include "support/RunningFlight.hpp"
#include "support/TempFolder.hpp"

namespace corv::parking::test {
namespace {

struct RecordedParkingControls final : ParkingControls {
    void lock() override { locked = true; }
    void unlock() override { locked = false; }
    void restartRenewalCountdown() override { ++countdownRestarts; }
    void enableParkAirportControls(bool enabled) override { parkControlsEnabled = enabled; }
    bool locked = false;
    bool parkControlsEnabled = false;
    int countdownRestarts = 0;
};

airports::CatalogueAirport airportAt(const char* code, double longitude) {
    airports::CatalogueAirport airport = airports::test::catalogueAirport(code, 0);
    airport.latitude = 52.0;
    airport.longitude = longitude;
    return airport;
}

// EHAM with two stands 200 m apart, each with an aircraft there now; EHRD has no stand file.
class ParkAirportsTest : public StaticParkingFixture {
  protected:
    ParkAirportsTest() {
        std::filesystem::create_directories(work.path() / "airports" / "my_ORBX");
        catalogue.assign({airportAt("EHAM", 0.2), airportAt("EHRD", -0.2)});
        corv::test::writeFile(work.path() / "airports" / "my_ORBX" / "EHAM.xml",
                              airports::test::airportFile(stand("S1", 0.2) + stand("S2", 0.203)));
        settings::MAX_FIT.setCurrent(0);
    }

    static std::string stand(const std::string& id, double longitude) {
        return fmt::format(
            "<parkpos id=\"{}\" latitude=\"52.0\" longitude=\"{}\" heading=\"90\" radius=\"24\" "
            "type=\"8\"><opt airl=\"KLM\" type=\"B738\" day=\"3\" hh=\"20:30\" cs=\"KLM{}\" "
            "reg=\"\"/></parkpos>",
            id, longitude, id);
    }

    void userAt(double longitude, bool onGround, double altitudeFeet = 0.0) {
        simulator.user.latitude = 52.0;
        simulator.user.longitude = longitude;
        simulator.user.onGround = onGround;
        simulator.user.altitudeFeet = altitudeFeet;
    }

    corv::test::TempFolder work;
    airports::AirportCatalogue catalogue;
    airports::test::FakeDownloader downloader;
    corv::test::RecordedControls controls;
    airports::SettingsControls settingsControls{controls, [](int) {}};
    std::atomic<int> simNumber{5};
    airports::AirportFilesContext files{work.path(),      catalogue, downloader, identities,
                                        settingsControls, messages,  simNumber};
    corv::test::RunningFlight simulator;
    corv::test::FeedStandIn feed;
    status::DisplayState display;
    corv::test::QuietWindow window;
    RecordedParkingControls parkingControls;
    std::atomic<airports::TimeKey> timeKey{wednesdayNoon};
    std::vector<std::optional<realtraffic::ParkAirport>> announced;
    ParkAirports parkAirports{ParkAirportServices{
        files, airport, statics, simulator, feed, display, window, parkingControls, timeKey,
        [this](const std::optional<realtraffic::ParkAirport>& park) {
            announced.push_back(park);
        }}};
    corv::test::LogCapture log;
};

TEST_F(ParkAirportsTest, OnTheGroundTheAirportIsFilledAndTheUsersStandKeptFree) {
    userAt(0.2, true);  // standing at S1
    parkAirports.readParkAirportList();
    parkAirports.parkAirportTick(true);
    EXPECT_TRUE(log.contains("User aircraft on the ground at EHAM"));
    EXPECT_TRUE(parkingControls.locked);

    // The next tick loads it: the user's stand is remembered and reserved.
    parkAirports.parkAirportTick(false);
    ASSERT_TRUE(parkAirports.parkAirportSet());
    ASSERT_EQ(airport.stands.size(), 2U);
    EXPECT_EQ(airport.reservedStandId, "S1");
    EXPECT_EQ(corv::test::readFile(work.path() / "airports" / "my_park_airports.txt"), "EHAM,S1\n");
    ASSERT_EQ(announced.size(), 1U);
    ASSERT_TRUE(announced[0].has_value());
    EXPECT_EQ(parkingControls.countdownRestarts, 1);

    placeAll();
    ASSERT_EQ(queues.creations.size(), 1U);
    EXPECT_EQ(queues.creations[0].tailNumber, "KLMS2*");
    parkAirports.parkAirportTick(false);
    EXPECT_FALSE(parkingControls.locked);
    EXPECT_EQ(display.snapshot().parking.wantedStaticCount, 2);
}

TEST_F(ParkAirportsTest, AListAirportInSightAtNoGreaterDistanceTakesOver) {
    struct Case {
        double userLongitude;
        bool leaves;
    };
    for (const Case c : {Case{0.0, true}, Case{0.01, false}}) {
        userAt(0.2, true);
        parkAirports.parkAirportTick(false);
        parkAirports.parkAirportTick(false);
        ASSERT_TRUE(parkAirports.parkAirportSet());
        settings::DESTINATION.setCurrent("EHRD");
        parkAirports.setDestination("EHRD");

        const std::size_t logged = log.lines().size();
        userAt(c.userLongitude, false, 1000.0);
        // A destination just set is judged by its real distance at once, never as in sight.
        parkAirports.parkAirportTick(false);
        EXPECT_EQ(parkAirports.parkAirportSet(), !c.leaves) << c.userLongitude;
        const std::vector<std::string> lines = log.lines();
        EXPECT_EQ(std::any_of(lines.begin() + static_cast<std::ptrdiff_t>(logged), lines.end(),
                              [](const std::string& line) {
                                  return line.find(
                                             "EHRD is in sight (7.4 nm), parked "
                                             "aircraft at EHAM will be removed "
                                             "first") != std::string::npos;
                              }),
                  c.leaves);
        if (parkAirports.parkAirportSet()) parkAirports.leaveParkAirport();
        settings::DESTINATION.setCurrent("");
    }
}

}  // namespace
}  // namespace corv::parking::test
