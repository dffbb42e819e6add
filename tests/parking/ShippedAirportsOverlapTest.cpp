#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "airports/AirportFilesFixture.hpp"
#include "airports/ReadApf.hpp"
#include "airports/StaticCalculation.hpp"
#include "common/GreatCircle.hpp"
#include "liveries/ReferenceData.hpp"
#include "parking/ReferenceIdentities.hpp"
#include "settings/ParameterTable.hpp"
#include "support/ParameterReset.hpp"

namespace corv::parking::test {
namespace {

namespace fs = std::filesystem;

// The airports the download site has stand files for, filled at every third hour of the week
// with every kind of entry allowed: no two parked aircraft may overlap (each takes half its
// type's wingspan around its stand), and none may stand within reach of the user's stand.
TEST(ShippedAirportsOverlap, NoParkedAircraftOverlapsAnotherOrTheUser) {
    corv::test::resetParameters();
    liveries::ReferenceData reference;
    ASSERT_TRUE(reference.readXml(fs::path(CORV_DATA_DIR) / "dbase.xml"));
    const ReferenceIdentities identities(reference);
    airports::AirportCatalogue catalogue;
    airports::test::FakeDownloader downloader;
    corv::test::RecordedControls controls;
    airports::SettingsControls settingsControls{controls, [](int) {}};
    services::MessageLine messages{[] {}};
    const std::atomic<int> simNumber{5};
    corv::test::TempFolder work;
    fs::create_directories(work.path() / "airports");
    const airports::AirportFilesContext context{work.path(),      catalogue, downloader, identities,
                                                settingsControls, messages,  simNumber};
    const double userHalfSpan = 17.9 / 1852.0;  // a 737-800

    std::size_t airportsChecked = 0;
    for (const auto& file : fs::directory_iterator(fs::path(CORV_SITE_DIR) / "archive/stock")) {
        const std::string code = file.path().stem().string();
        SCOPED_TRACE(code);
        downloader.files["downloads/P3D/archive/stock/" + code + ".xml"] =
            corv::test::readFile(file.path());
        catalogue.assign({airports::test::catalogueAirport(code.c_str(), 1)});
        airports::LoadedAirport airport;
        airport.code = airports::AirportCode(code);
        ASSERT_EQ(airports::gf_readApf("archive/stock/" + code + ".xml", airport, context), "");
        const airports::Stand& userStand = airport.stands[airport.stands.size() / 2];

        settings::WEEK.setCurrent(true);
        settings::PARK_SOFT.setCurrent(true);
        settings::MAX_FIT.setCurrent(47);
        settings::MAX_PARK_SEL.setCurrent(500);
        settings::CUSTOM_PARKING_PERCENTAGE.setCurrent(100);
        const std::unordered_set<std::string> live;
        std::size_t filled = 0;
        for (int slot = 0; slot < 7 * 48; slot += 6) {
            const airports::TimeKey key{slot / 48 + 1, slot % 48};
            airports::resetStandMarks(airport.stands, userStand.id, "");
            airports::SearchFits fits;
            const std::vector<airports::StaticAircraft> parked = airports::calculateStaticParking(
                airport.stands, key, {live, {}, {}, identities, [](std::size_t) { return 0U; }},
                fits);
            filled += parked.size();
            for (std::size_t i = 0; i < parked.size(); ++i) {
                const airports::Stand& a = airport.stands[parked[i].stand - 1];
                const double reachA = identities.halfWingspan(parked[i].identity);
                EXPECT_GT(common::distanceNm({a.latitude, a.longitude},
                                             {userStand.latitude, userStand.longitude}),
                          reachA + userHalfSpan)
                    << a.id << " reaches the user at " << userStand.id;
                for (std::size_t j = i + 1; j < parked.size(); ++j) {
                    const airports::Stand& b = airport.stands[parked[j].stand - 1];
                    const double apart =
                        common::distanceNm({a.latitude, a.longitude}, {b.latitude, b.longitude});
                    EXPECT_GE(apart, reachA + identities.halfWingspan(parked[j].identity))
                        << a.id << " " << identities.text(parked[i].identity) << " and " << b.id
                        << " " << identities.text(parked[j].identity) << " overlap, day "
                        << key.weekday << " half hour " << key.halfHour;
                }
            }
        }
        EXPECT_GT(filled, airport.stands.size());  // the airport was really filled
        ++airportsChecked;
    }
    EXPECT_GE(airportsChecked, 3U);
    corv::test::resetParameters();
}

}  // namespace
}  // namespace corv::parking::test
