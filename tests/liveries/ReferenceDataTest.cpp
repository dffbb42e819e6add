#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/UserErrorException.hpp"
#include "liveries/DbaseXml.hpp"
#include "liveries/ReferenceData.hpp"
#include "liveries/XmlLists.hpp"
#include "support/LogCapture.hpp"
#include "support/TempFolder.hpp"

namespace corv::liveries {
namespace {

using Strings = std::vector<std::string>;

class ReferenceDataTest : public ::testing::Test {
  protected:
    bool read(ReferenceData& target, const std::string& text) {
        test::writeFile(folder / "dbase.xml", text);
        return target.readXml(folder / "dbase.xml");
    }
    bool read() { return read(data, xml.text()); }

    // The user error a reference file causes; fails the test when there is none.
    UserErrorException userError(const std::string& text) {
        ReferenceData fresh;
        try {
            read(fresh, text);
        } catch (const UserErrorException& e) {
            return e;
        }
        ADD_FAILURE() << "no user error";
        return UserErrorException(0, "");
    }

    double halfSpan(double metres) const { return metres * 0.5 / 1852.0; }

    test::LogCapture logged;
    test::TempFolder folder;
    test::DbaseXml xml;
    ReferenceData data;
};

TEST_F(ReferenceDataTest, EveryRequiredSectionMustExistAndNameSomething) {
    struct Section {
        const char* name;
        const char* element;
        const char* attribute;
    };
    const Section required[] = {
        {"aircrafts", "aircraft", "types"},
        {"cargo_types", "cargo_type", "types"},
        {"heavy", "hvy", "types"},
        {"large", "lar", "types"},
        {"buzjet", "bzj", "types"},
        {"high_performance", "hpf", "types"},
        {"rotorcraft", "rot", "types"},
        {"ICAO_airlines", "ICAO", "codes"},
        {"cargo_operators", "ICAO", "codes"},
        {"simaddonsP3D", "simaddonP3D", "arpts"},
    };
    for (const Section& section : required) {
        SCOPED_TRACE(section.name);
        test::DbaseXml missing;
        missing.sections.erase(section.name);
        const UserErrorException absent = userError(missing.text());
        EXPECT_EQ(absent.code(), 61);
        EXPECT_EQ(absent.message(), std::string("Missing section: ") + section.name);

        // Empty and missing attributes, a list of empty items and elements of another name.
        test::DbaseXml empty;
        empty.sections[section.name] =
            fmt::format(R"(<{0} {1}=""/><{0}/><{0} {1}=",,"/><other {1}="X"/>)", section.element,
                        section.attribute);
        const UserErrorException nothing = userError(empty.text());
        EXPECT_EQ(nothing.code(), 61);
        EXPECT_EQ(nothing.message(),
                  fmt::format("In XML file section [{}], element [{}], attribute [{}] is empty.",
                              section.name, section.element, section.attribute));
    }

    const UserErrorException noRoot = userError("<dbase><aircrafts/></dbase>");
    EXPECT_EQ(noRoot.code(), 61);
    EXPECT_EQ(noRoot.message(), "XML root missing: root");
}

TEST_F(ReferenceDataTest, LogsTheCountsOfWhatItRead) {
    xml.sections["prefixes"] = R"(<similar types="PH"/><similar types="D,OE"/>)";
    xml.sections["publishers"] = R"(<pub names="Orbx,ORBX Global"/><pub names="Aerosoft"/>)";
    xml.sections["fixes"] = R"(<fx wro="B38" cor="B738"/>)";
    xml.sections["dbase"] = R"(<d r="PH-BXA" a="KLM" m="B738"/><d r="D-AIBA" a="DLH" m="A320"/>)"
                            R"(<d r="PH-BXA" a="TRA" m="B738"/>)";
    ASSERT_TRUE(read());
    EXPECT_EQ(logged.lines(),
              (Strings{"", "    7 ICAO model codes", "    2 prefixes", "    3 ICAO airline codes",
                       "    2 cargo operators", "    2 publishers", "    1 fixes",
                       "    2 dbase records read"}));
}

TEST_F(ReferenceDataTest, InternsTheReferenceCodesFirstInSortedOrder) {
    ASSERT_TRUE(read());
    const Strings models{"", "A320", "B738", "B744", "C172", "C25A", "EC35", "F16"};
    for (std::size_t i = 0; i < models.size(); ++i) {
        EXPECT_EQ(data.modelText(static_cast<common::CodeIndex>(i)), models[i]);
    }
    // The cargo operators follow the airlines; one of them is an airline as well.
    const Strings airlines{"", "BAW", "DLH", "KLM", "MPH"};
    for (std::size_t i = 0; i < airlines.size(); ++i) {
        EXPECT_EQ(data.airlineText(static_cast<common::CodeIndex>(i)), airlines[i]);
    }
    EXPECT_TRUE(data.isCargoOperator(data.internAirline("MPH")));
    EXPECT_TRUE(data.isCargoOperator(data.internAirline("KLM")));
    EXPECT_FALSE(data.isCargoOperator(data.internAirline("DLH")));
    EXPECT_TRUE(data.isCargoType(data.internModel("B744")));
    EXPECT_FALSE(data.isCargoType(data.internModel("B738")));
    EXPECT_EQ(data.internModel("A388"), 8);  // a new code after all reference codes
}

TEST_F(ReferenceDataTest, ATypeInSeveralCategoriesTakesTheFirstInTheirOrder) {
    xml.sections["heavy"] = R"(<hvy types="B744,A320,A388"/>)";
    xml.sections["buzjet"] = R"(<bzj types="C25A,B744"/>)";
    xml.sections["rotorcraft"] = R"(<rot types="EC35,C25A"/>)";
    xml.sections["high_performance"] = R"(<hpf types="F16,EC35"/>)";
    ASSERT_TRUE(read());
    const std::pair<const char*, int> expected[] = {
        {"A320", 2},                            // large and heavy
        {"B738", 2}, {"B744", 3},               // heavy and business jet
        {"C25A", 1},                            // business jet and rotorcraft
        {"EC35", 5},                            // rotorcraft and high performance
        {"F16", 4},  {"C172", 0}, {"A388", 3},  // only in a category section
        {"ZZZZ", 0},
    };
    for (const auto& [code, category] : expected) {
        EXPECT_EQ(data.category(data.internModel(code)), category) << code;
    }
}

TEST_F(ReferenceDataTest, FixesNeedAKnownCorrectCodeAndAWrongCodeOnlyOnce) {
    xml.sections["fixes"] = R"(<fx wro="B38" cor="B738"/>)"
                            R"(<fx wro="A20N" cor="A20X"/>)"
                            R"(<fx wro="B38" cor="A320"/>)"
                            R"(<fx wro="C17" cor=""/>)"
                            R"(<fx wro="" cor="C172"/>)";
    xml.sections["dbase"] = R"(<d r="PH-BXA" a="KLM" m="B38"/>)";
    ASSERT_TRUE(read());
    const Strings lines = logged.lines();
    for (const char* refused : {"==> wrong fix A20N -> A20X, the latter is not valid",
                                "==> wrong part of fix: 'B38', already exists, skipped",
                                "==> wrong fix C17 -> , the latter is not valid"}) {
        EXPECT_NE(std::find(lines.begin(), lines.end(), refused), lines.end()) << refused;
    }
    EXPECT_TRUE(logged.contains("    1 fixes"));
    EXPECT_EQ(data.fixOf("B38"), "B738");
    EXPECT_EQ(data.fixOf("A20N"), std::nullopt);
    EXPECT_EQ(data.fixOf(""), std::nullopt);

    // A code seen only as a wrong code never gets an index of its own.
    const common::CodeIndex b738 = *data.findModel("B738");
    EXPECT_EQ(data.dbaseRecord("PH-BXA")->model, b738);
    EXPECT_EQ(data.internModel("B38"), b738);
    EXPECT_EQ(data.findModel("B38"), std::nullopt);
    EXPECT_EQ(data.internModel(""), 0);
}

TEST_F(ReferenceDataTest, WingspansKeepTheFirstEntryAndSkipUnknownTypes) {
    xml.sections["wingspans"] = R"(<wingspan type="B738" meters="35.79"/>)"
                                R"(<wingspan type="B738" meters="80"/>)"
                                R"(<wingspan type="A320" meters="34.10"/>)"
                                R"(<wingspan type="B744" meters="64.44"/>)"
                                R"(<wingspan type="C172" meters="11.0"/>)"
                                R"(<wingspan type="A3XX" meters="90"/>)"
                                R"(<wingspan meters="70"/>)";
    ASSERT_TRUE(read());
    EXPECT_TRUE(logged.contains("==> wingspan model A3XX is not valid, skipped"));
    EXPECT_TRUE(logged.contains("==> wingspan model  is not valid, skipped"));

    EXPECT_DOUBLE_EQ(data.halfWingspan(data.internModel("B738")), halfSpan(35.79));
    EXPECT_DOUBLE_EQ(data.halfWingspan("B738"), halfSpan(35.79));
    EXPECT_DOUBLE_EQ(data.halfWingspan(data.internModel("C25A")), 0.0);
    EXPECT_DOUBLE_EQ(data.halfWingspan("A3XX"), 0.0);
    EXPECT_DOUBLE_EQ(data.largestHalfWingspan(), halfSpan(64.44));

    EXPECT_DOUBLE_EQ(data.categoryMeanHalfWingspan(2), (halfSpan(35.79) + halfSpan(34.10)) / 2);
    EXPECT_DOUBLE_EQ(data.categoryMeanHalfWingspan(3), halfSpan(64.44));
    EXPECT_DOUBLE_EQ(data.categoryMeanHalfWingspan(0), halfSpan(11.0));
    EXPECT_DOUBLE_EQ(data.categoryMeanHalfWingspan(1), 0.0);
}

TEST_F(ReferenceDataTest, OnlyTheFirstModelIndexesHaveWingspansByIndex) {
    // 2700 generated types sort before "ZZZZ", which gets index 2701.
    std::string types;
    for (int i = 0; i < 2700; ++i)
        types += fmt::format("M{:04},", i);
    xml.sections["aircrafts"] = R"(<aircraft types=")" + types + R"(ZZZZ"/>)";
    xml.sections["wingspans"] = R"(<wingspan type="M2698" meters="20"/>)"
                                R"(<wingspan type="ZZZZ" meters="30"/>)";
    ASSERT_TRUE(read());
    EXPECT_DOUBLE_EQ(data.halfWingspan(data.internModel("M2698")), halfSpan(20));
    EXPECT_DOUBLE_EQ(data.halfWingspan(data.internModel("ZZZZ")), 0.0);
    EXPECT_DOUBLE_EQ(data.halfWingspan("ZZZZ"), halfSpan(30));
    const Strings lines = logged.lines();
    EXPECT_EQ(std::count_if(
                  lines.begin(), lines.end(),
                  [](const std::string& line) { return line.starts_with("==> wsp fill what: "); }),
              1);
}

TEST_F(ReferenceDataTest, KeepsTheFirstRecordOfARegistrationAndFindsItByRegistration) {
    xml.sections["dbase"] = R"(<d r="PH-BXA" a="KLM" m="B738" c="0"/>)"
                            R"(<d r="D-AIBA" a="DLH" m="A320"/>)"
                            R"(<d r="PH-BXA" a="TRA" m="B737"/>)"
                            R"(<d r="" a="KLM" m="B744"/>)"
                            R"(<d r="G-CARG" a="BAW" o="MPH" m="B744" c="true"/>)"
                            R"(<d r="N123AB" m="C172"/>)";
    ASSERT_TRUE(read());
    Strings registrations;
    for (const DbaseRecord& record : data.dbaseRecords())
        registrations.push_back(record.registration);
    EXPECT_EQ(registrations, (Strings{"D-AIBA", "G-CARG", "N123AB", "PH-BXA"}));
    EXPECT_TRUE(logged.contains("    4 dbase records read"));

    const DbaseRecord* klm = data.dbaseRecord("PH-BXA");
    ASSERT_NE(klm, nullptr);
    EXPECT_EQ(data.airlineText(klm->airline), "KLM");
    EXPECT_EQ(data.modelText(klm->model), "B738");
    EXPECT_EQ(klm->operatorIndex, 0);
    EXPECT_FALSE(klm->cargo);

    const DbaseRecord* cargo = data.dbaseRecord("G-CARG");
    ASSERT_NE(cargo, nullptr);
    EXPECT_EQ(data.airlineText(cargo->operatorIndex), "MPH");
    EXPECT_TRUE(cargo->cargo);
    EXPECT_EQ(data.dbaseRecord("N123AB")->airline, 0);

    for (const char* unknown : {"", "PH-BX", "PH-BXAA", "A", "ZZZ"})
        EXPECT_EQ(data.dbaseRecord(unknown), nullptr) << unknown;
}

TEST_F(ReferenceDataTest, ReadsGroupsPublishersAndAirports) {
    xml.sections["similar_types"] = R"(<similar types="B738,A320,,B737"/><similar types=""/>)";
    xml.sections["prefixes"] = R"(<similar types="PH,D,G"/><similar types="N"/>)";
    xml.sections["publishers"] =
        R"(<pub names="Orbx,ORBX Global"/><pub names="Aerosoft"/><pub names="Orbx,ORBX Global"/>)";
    xml.sections["thirdpartiesP3D"] =
        R"(<thirdpartieP3D pub="Aerosoft" arpts="LOWW,EDDF"/><thirdpartieP3D pub="FlyTampa"/>)";
    ASSERT_TRUE(read());

    EXPECT_EQ(data.similarTypes(), (std::vector<Strings>{{"A320", "B737", "B738"}}));
    EXPECT_EQ(data.prefixGroups(), (std::vector<Strings>{{"D", "G", "PH"}, {"N"}}));
    ASSERT_NE(data.prefixGroupOf("G"), nullptr);
    EXPECT_EQ(*data.prefixGroupOf("G"), (Strings{"G", "D", "PH"}));
    EXPECT_EQ(*data.prefixGroupOf("PH"), (Strings{"PH", "D", "G"}));
    EXPECT_EQ(*data.prefixGroupOf("N"), (Strings{"N"}));
    EXPECT_EQ(data.prefixGroupOf("F"), nullptr);

    EXPECT_EQ(data.publishers(), (std::vector<Strings>{{"Aerosoft"}, {"Orbx", "ORBX Global"}}));
    ASSERT_EQ(data.publisherAirports().size(), 2u);
    EXPECT_EQ(data.publisherAirports()[0].publisher, "Aerosoft");
    EXPECT_EQ(data.publisherAirports()[0].airports, (Strings{"LOWW", "EDDF"}));
    EXPECT_TRUE(data.publisherAirports()[1].airports.empty());
    EXPECT_EQ(data.simAddonAirports(), (ReferenceData::TextSet{"EHAM", "YSSY"}));
}

TEST(XmlLists, SplitsAtCommasAndSkipsEmptyItems) {
    EXPECT_EQ(splitList(""), Strings{});
    EXPECT_EQ(splitList(",,"), Strings{});
    EXPECT_EQ(splitList(",A,,B C,"), (Strings{"A", "B C"}));
    EXPECT_EQ(splitList("ORBX Global"), (Strings{"ORBX Global"}));
}

}  // namespace
}  // namespace corv::liveries
