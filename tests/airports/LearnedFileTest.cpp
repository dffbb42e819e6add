#include <algorithm>

#include "airports/AirportFilesFixture.hpp"
#include "airports/AirportSettings.hpp"
#include "airports/ReadApf.hpp"
#include "settings/ParameterTable.hpp"

namespace corv::airports {
namespace {

namespace fs = std::filesystem;
using test::airportFile;

const std::string meta =
    R"(<meta><info name="author" value="Corvane_P3D"/><info name="version" value="12.6.0"/>)"
    R"(<info name="copyright" value="c"/></meta>)";

// Archive stand A1 holds KLM B738 on Monday 10 ... 12; B2 is empty.
const std::string archive = airportFile(
    R"(<parkpos id="A1" latitude="52.3" longitude="4.76" radius="20">)"
    R"(<opt airl="KLM" type="B738" reg="PH-BXA" day="1" hh="10:12" cs="KLM1"/></parkpos>)"
    R"(<parkpos id="B2" latitude="52.31" longitude="4.76" radius="15"/>)");

std::string learnedFile(const std::string& body, const std::string& parameters = "") {
    return "<root>" + meta + R"(<parameters><parameter name="airport_name" value="Schiphol"/>)" +
           parameters + "</parameters><parkpositions>" + body + "</parkpositions></root>";
}

class LearnedFileTest : public test::AirportFilesTest {
  protected:
    LearnedFileTest() {
        catalogue.assign({test::catalogueAirport("EHAM", 1)});
        airport.code = AirportCode("EHAM");
        put("airports/my_thirdparty/EHAM.xml", archive);
    }
    void readWith(const std::string& learned) {
        put("airports/learned/thirdparty/stock/EHAM.xml", learned);
        ASSERT_EQ(gf_readApf("airports/my_thirdparty/EHAM.xml", airport, context), "");
    }
    const Stand* stand(const std::string& id) const {
        const auto found = std::find_if(airport.stands.begin(), airport.stands.end(),
                                        [&](const Stand& s) { return s.id == id; });
        return found == airport.stands.end() ? nullptr : &*found;
    }
    LoadedAirport airport;
};

TEST_F(LearnedFileTest, RefusesOnlyLearnedEntriesThatOverlapAnEqualOne) {
    const struct {
        const char* name;
        const char* opt;
        bool added;
    } cases[] = {
        {"one common half hour", R"(reg="PH-BXA" airl="KLM" type="B738" day="1" hh="12:14")",
         false},
        {"no common half hour", R"(reg="PH-BXA" airl="KLM" type="B738" day="1" hh="13:14")", true},
        {"soft", R"(reg="PH-BXA" airl="KLM" type="B738" day="1" hh="12" soft="true")", true},
        {"other day", R"(reg="PH-BXA" airl="KLM" type="B738" day="2" hh="12")", true},
        {"other type", R"(reg="PH-BXA" airl="KLM" type="A320" day="1" hh="12")", true},
        {"other registration", R"(reg="PH-BXB" airl="KLM" type="B738" day="1" hh="12")", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        readWith(learnedFile(std::string(R"(<parkpos id="A1"><opt cs="KLM9" )") + c.opt +
                             "/></parkpos>"));
        const Stand* a1 = stand("A1");
        ASSERT_NE(a1, nullptr);
        ASSERT_EQ(a1->entries.size(), c.added ? 2U : 1U);
        if (c.added) {
            EXPECT_EQ(a1->entries[1].index, 2);
            EXPECT_EQ(a1->entries[1].origin, learned);
        }
    }
    EXPECT_TRUE(logged.contains(
        "==> learned A1: day:1 12,13,14 KLM/B738 cs:KLM9 reg:PH-BXA already in airport file"));
}

TEST_F(LearnedFileTest, MergesLearnedChangesAndManualStands) {
    readWith(learnedFile(
        R"(<parkpos id="B2" radius_change="true" radius="40" cargo_change="true" cargo="true"/>)"
        R"(<parkpos id="M1" manual="true" latitude="52.32" longitude="4.7" radius="25">)"
        R"(<opt reg="PH-BHA" day="3" hh="0:47" cs="KLM5:KLM6"/></parkpos>)"
        R"(<parkpos id="A1" manual="true" latitude="52.32" longitude="4.7" radius="25"/>)"
        R"(<parkpos id="M2" manual="true" latitude="0" longitude="0" radius="25"/>)"
        R"(<parkpos id="Q9"/>)"));
    const Stand* b2 = stand("B2");
    ASSERT_NE(b2, nullptr);
    EXPECT_TRUE(b2->radiusChanged && b2->cargoChanged && b2->cargo);
    EXPECT_NEAR(b2->radius * 1852.0, 40.0, 1e-9);
    const Stand* m1 = stand("M1");
    ASSERT_NE(m1, nullptr);
    EXPECT_TRUE(m1->manual);
    EXPECT_EQ(m1->number, 3);
    ASSERT_EQ(m1->entries.size(), 1U);
    EXPECT_TRUE(m1->entries[0].identity.fromRegistration);
    EXPECT_EQ(m1->entries[0].callsign2, "KLM6");
    EXPECT_EQ(stand("M2"), nullptr);
    EXPECT_EQ(airport.stands.size(), 3U);
    EXPECT_TRUE(
        logged.contains("==> manually created standid A1 already exists in "
                        "airports/learned/thirdparty/stock/EHAM.xml"));
    EXPECT_TRUE(
        logged.contains("==> manually created standid M2 misses correct attributes in "
                        "airports/learned/thirdparty/stock/EHAM.xml"));
    EXPECT_TRUE(logged.contains(
        "learned stand Q9 in airports/learned/thirdparty/stock/EHAM.xml not found?"));
}

TEST_F(LearnedFileTest, AHandmadeFileReplacesEveryArchiveStand) {
    readWith(learnedFile(R"(<parkpos id="H1" latitude="52.33" longitude="4.7" radius="25">)"
                         R"(<opt reg="PH-BHA" day="3" hh="4:5"/></parkpos>)",
                         R"(<parameter name="handmade" value="false"/>)"));
    EXPECT_TRUE(airport.handmade);
    ASSERT_EQ(airport.stands.size(), 1U);
    EXPECT_EQ(airport.stands[0].id, "H1");
    EXPECT_EQ(airport.stands[0].entries.size(), 1U);
    EXPECT_TRUE(logged.contains("A handmade airport file overruled the archived file!"));
}

TEST_F(LearnedFileTest, FilesOfOldVersionsKeepTheirSettingsButLoseTheirEntries) {
    std::string old = learnedFile(
        R"(<parkpos id="A1" radius_change="true" radius="30"><opt reg="X" airl="KLM" type="B738" day="1" hh="20"/></parkpos>)",
        R"(<parameter name="WEEK" value="true"/>)");
    old.replace(old.find("12.6.0"), 6, "11.9.9");
    readWith(old);
    EXPECT_TRUE(settings::WEEK.value());
    EXPECT_TRUE(controls.ticked[settings::WEEK.controlId]);
    EXPECT_NEAR(stand("A1")->radius * 1852.0, 30.0, 1e-9);
    EXPECT_EQ(stand("A1")->entries.size(), 1U);
}

TEST_F(LearnedFileTest, LeavingPutsBackTheSettingsTheAirportChanged) {
    settings::RANGE.setCurrent(40);
    readWith(learnedFile(
        "",
        R"(<parameter name="WEEK" value="true"/><parameter name="RANGE" value="20"/>)"
        R"(<parameter name="MAX_FIT" value="5"/><parameter name="MAX_LIVE_SEL" value="9999"/>)"));
    EXPECT_TRUE(settings::WEEK.value());
    EXPECT_EQ(settings::MAX_LIVE_SEL.value(), settings::MAX_LIVE_SEL.maximum());
    EXPECT_EQ(settings::parking_percentage.value(), 30);

    restoreAirportSettings(airport.settings, settingsControls);
    EXPECT_FALSE(settings::WEEK.value());
    EXPECT_FALSE(controls.ticked[settings::WEEK.controlId]);
    EXPECT_EQ(rangesSet, (std::vector<int>{20, 40}));
    EXPECT_EQ(settings::MAX_FIT.value(), settings::MAX_FIT.defaultValue());
    EXPECT_EQ(settings::MAX_FIT_FL.value(), settings::MAX_FIT_FL.defaultValue());
    EXPECT_EQ(settings::MAX_LIVE_SEL.value(), settings::MAX_LIVE_SEL.defaultValue());
    EXPECT_EQ(settings::parking_percentage.value(), settings::parking_percentage.defaultValue());
}

TEST_F(LearnedFileTest, ADamagedFileIsMovedAsideAndTheArchiveStaysUsable) {
    readWith("<root><parkpositions><parkpos id=");
    EXPECT_FALSE(fs::exists(work / "airports/learned/thirdparty/stock/EHAM.xml"));
    EXPECT_TRUE(fs::exists(work / "airports/learned/thirdparty/stock/EHAM.0.xml"));
    EXPECT_EQ(airport.stands.size(), 2U);
    const auto lines = logged.lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.starts_with(
            "==> airports/learned/thirdparty/stock/EHAM.xml found, but could not be loaded, saved "
            "as *.0.xml: ");
    }));
}

}  // namespace
}  // namespace corv::airports
