#include <gtest/gtest.h>

#include "common/UserErrorException.hpp"
#include "sim/SimClientFixture.hpp"

namespace corv::sim {
namespace {

class UserAircraftTest : public test::SimClientTest {
  protected:
    void title(const std::string& text) {
        deliverData(request::userTitle, DefinitionWriter().stringV(text).bytes());
    }
    void model(const std::string& text) {
        deliverData(request::userModel, DefinitionWriter().string32(text).bytes());
    }
    double halfSpan(double metres) const { return metres * 0.5 / 1852.0; }
};

TEST_F(UserAircraftTest, TitleIsCutTo48CharactersAndLoggedOnceWhenItChanges) {
    const std::string exact(48, 'a');
    title(exact);
    EXPECT_EQ(client.userIdentity().title, exact);
    title(exact + "b");
    title(std::string(49, 'c'));
    EXPECT_EQ(client.userIdentity().title, std::string(48, 'c'));
    EXPECT_EQ(display.snapshot().userTitle, std::string(48, 'c'));
    const auto lines = logged.lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "SimConnect: User aircraft title: " + exact),
              1);

    title("");
    EXPECT_TRUE(logged.contains("! Title of your aircraft is empty?"));
    EXPECT_EQ(client.userIdentity().title, std::string(48, 'c'));

    // Characters, not bytes: a cut never splits one ("\u00e9" is two bytes in UTF-8).
    const std::string accented = std::string(46, 'd') + "\u00e9\u00e9";
    title(accented);
    EXPECT_EQ(client.userIdentity().title, accented);
    title(accented + "\u00e9");
    EXPECT_EQ(client.userIdentity().title, accented);
    title(std::string(47, 'e') + "\u00e9\u00e9");
    EXPECT_EQ(client.userIdentity().title, std::string(47, 'e') + "\u00e9");
}

TEST_F(UserAircraftTest, TheLargestTypeOfTheTableIsKnownToo) {
    // Its span is also what an unknown type gets; being equal to it does not make it unknown.
    model("B744");
    EXPECT_TRUE(client.userIdentity().wingspanFound);
    EXPECT_TRUE(display.snapshot().userWingspanFound);
    EXPECT_DOUBLE_EQ(client.userIdentity().halfWingspan, halfSpan(64.44));
    EXPECT_EQ(messages.texts().message, "");
}

TEST_F(UserAircraftTest, ModelGivesHalfWingspanAndCategory) {
    model("A320");
    const UserAircraftIdentity user = client.userIdentity();
    EXPECT_TRUE(user.dataKnown);
    EXPECT_TRUE(user.wingspanFound);
    EXPECT_TRUE(display.snapshot().userWingspanFound);
    EXPECT_DOUBLE_EQ(user.halfWingspan, halfSpan(34.10));
    EXPECT_EQ(user.category, 2);
    EXPECT_TRUE(logged.contains("model raw: A320"));
    EXPECT_TRUE(logged.contains(
        "SimConnect: User aircraft model: A320, half wing span: 17.1 meter, category: 2"));
    EXPECT_EQ(messages.texts().message, "");
}

TEST_F(UserAircraftTest, AerosoftTitleTellsTheAirbusOfALongModel) {
    title("Aerosoft A320 Lufthansa");
    model("AIRBUS-320");
    EXPECT_EQ(client.userIdentity().model, "A320");
    EXPECT_DOUBLE_EQ(client.userIdentity().halfWingspan, halfSpan(34.10));
    EXPECT_TRUE(display.snapshot().userWingspanFound);
    EXPECT_TRUE(logged.contains("SimConnect: User aircraft model deduced from title: A320"));
}

TEST_F(UserAircraftTest, UnknownLongModelTakesTheLargestWingspanAndSaysSo) {
    struct Case {
        const char* title;
        const char* model;
    };
    // The second title names an A319, which has no wingspan entry here; a short type without an
    // entry fits no stand better than the largest.
    for (const Case& c : {Case{"Some Jet", "JETLINER"}, Case{"Aerosoft A319 Iberia", "A319-100"},
                          Case{"Boeing 737-800", "B738"}}) {
        client.resetRunState();
        title(c.title);
        model(c.model);
        EXPECT_DOUBLE_EQ(client.userIdentity().halfWingspan, halfSpan(64.44)) << c.model;
        EXPECT_FALSE(display.snapshot().userWingspanFound);
    }
    EXPECT_TRUE(logged.contains(
        "User aircraft wing span unknown, max is taken instead, please report in my Forum!"));
}

TEST_F(UserAircraftTest, CameraPodFliesNoAircraftWithTheE190Wingspan) {
    model("camerapod");
    EXPECT_TRUE(client.userIdentity().noAircraft);
    EXPECT_DOUBLE_EQ(client.userIdentity().halfWingspan, halfSpan(28.72));
}

TEST_F(UserAircraftTest, EmptyOrUnreadableModelIsAUserError) {
    const auto code = [this](std::vector<std::byte> data) {
        try {
            deliverData(request::userModel, std::move(data));
        } catch (const UserErrorException& e) {
            return e.code();
        }
        return 0;
    };
    EXPECT_EQ(code(DefinitionWriter().string32("").bytes()), 71);
    EXPECT_EQ(code(DefinitionWriter().int64(1).bytes()), 73);
}

}  // namespace
}  // namespace corv::sim
