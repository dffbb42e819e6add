#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include <fmt/format.h>

#include "airports/ReadAirports.hpp"
#include "common/UserErrorException.hpp"
#include "data/EncryptedFile.hpp"
#include "support/LogCapture.hpp"

namespace corv::airports {
namespace {

namespace fs = std::filesystem;

std::string airportsXml(const std::string& aps) {
    return "<?xml version=\"1.0\"?>\n<root><airports>\n" + aps + "</airports></root>\n";
}

struct CatalogueReadTest : ::testing::Test {
    test::LogCapture logged;
    test::TempFolder folder;
    fs::path plain = folder / "airports.xml";
    AirportCatalogue catalogue;

    // The failure of reading the content, after checking that the plain file went with it.
    UserErrorException readFailure(const std::string& content) {
        test::writeFile(plain, content);
        try {
            readAirportsFile(catalogue, plain);
        } catch (const UserErrorException& e) {
            EXPECT_FALSE(fs::exists(plain));
            EXPECT_FALSE(catalogue.isRead());
            EXPECT_TRUE(catalogue.empty());
            return e;
        }
        ADD_FAILURE() << "no user error";
        return UserErrorException(0, "");
    }
};

TEST_F(CatalogueReadTest, StoresTheAirportsSortedAndRemovesThePlainFile) {
    test::writeFile(plain,
                    airportsXml(R"(<ap c="eham" i="ams" la="52.3086" lo="4.7639" a="-11" s="1"/>
<ap c="EGLL" i="LHR" la="51.4706" lo="-0.4619" a="83"/>
<ap c="EDDF" la="50.0333" lo="8.5706" a="364" s="2"/>
)"));
    ASSERT_TRUE(readAirportsFile(catalogue, plain));

    EXPECT_FALSE(fs::exists(plain));
    EXPECT_TRUE(catalogue.isRead());
    ASSERT_EQ(catalogue.airports().size(), 3U);
    EXPECT_EQ(catalogue.airports()[0].code.view(), "EDDF");
    EXPECT_EQ(catalogue.airports()[1].code.view(), "EGLL");
    const CatalogueAirport& eham = catalogue.airports()[2];
    EXPECT_EQ(eham.code.view(), "EHAM");
    EXPECT_EQ(eham.iata.view(), "AMS");
    EXPECT_DOUBLE_EQ(eham.latitude, 52.3086);
    EXPECT_DOUBLE_EQ(eham.longitude, 4.7639);
    EXPECT_FLOAT_EQ(eham.altitude, -11.0F);
    EXPECT_EQ(eham.standClass, 1);
    EXPECT_EQ(catalogue.airports()[1].standClass, 0);
    EXPECT_TRUE(logged.contains("==> Missing stands for airport 'EGLL'"));
    EXPECT_TRUE(logged.contains("    3 airports read"));

    EXPECT_TRUE(catalogue.isRtSupported(AirportCode("EHAM")));
    EXPECT_FALSE(catalogue.isRtSupported(AirportCode("LFPG")));
    EXPECT_TRUE(catalogue.isRtSupported("eham"));
    EXPECT_FALSE(catalogue.isRtSupported("EHAMX"));
    EXPECT_EQ(catalogue.findAirport(AirportCode("egll")), &catalogue.airports()[1]);
    EXPECT_EQ(catalogue.findAirport(AirportCode("LFPG")), nullptr);
    EXPECT_EQ(catalogue.label(AirportCode("EHAM")), "EHAM (AMS)");
    EXPECT_EQ(catalogue.label(AirportCode("EDDF")), "EDDF");  // IATA "XXX"
    EXPECT_EQ(catalogue.label(AirportCode("LFPG")), "LFPG");
    EXPECT_EQ(catalogue.label(AirportCode()), "?");
    EXPECT_EQ(airportLabel(nullptr), "?");
}

TEST_F(CatalogueReadTest, SkipsAndLogsBadAirports) {
    struct Case {
        const char* ap;
        bool stored;
        const char* line;
    };
    const Case cases[] = {
        {R"(<ap c="LFPG" i="CDG" la="49.0097" lo="2.5478" s="1"/>)", false,
         "==> Missing alt for airport 'LFPG'"},
        {R"(<ap c="KJFK" i="JFK" lo="-73.7781" a="13" s="1"/>)", false,
         "==> Missing latLons for airport 'KJFK'"},
        {R"(<ap c="KLAX" i="LAX" la="33.9425" a="125" s="1"/>)", false,
         "==> Missing latLons for airport 'KLAX'"},
        {R"(<ap c="LEMD" i="MA" la="40.4719" lo="-3.5626" a="1998" s="1"/>)", false,
         "Error storing airport 'LEMD' 'MA': 'MA' FixedCode: invalid string (length/charset)"},
        {R"(<ap c="LOWW" i="" la="48.1103" lo="16.5697" a="600" s="1"/>)", false,
         "Error storing airport 'LOWW' '': '' FixedCode: invalid string (length/charset)"},
        {R"(<ap c="ESSA" la="59.6519" lo="17.9186" a="137"/>)", true,
         "==> Missing stands for airport 'ESSA'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ap);
        AirportCatalogue fresh;
        test::writeFile(plain, airportsXml(c.ap));
        EXPECT_EQ(readAirportsFile(fresh, plain), c.stored);
        EXPECT_EQ(fresh.airports().size(), c.stored ? 1U : 0U);
        EXPECT_TRUE(fresh.isRead());
        EXPECT_TRUE(logged.contains(c.line));
    }
}

TEST_F(CatalogueReadTest, DamagedFileIsUserError88WithoutThePlainFile) {
    const std::string path = plain.string();
    struct Case {
        const char* name;
        std::string content;
        std::string message;  // a message ending in ": " is a prefix
    };
    const Case cases[] = {
        {"three-character code",
         airportsXml(
             R"(<ap c="EHAM" la="52" lo="4" a="0" s="1"/><ap c="EHA" la="1" lo="1" a="0"/>)"),
         "'EHA' FixedCode: invalid string (length/charset)"},
        {"no code", airportsXml(R"(<ap la="52" lo="4" a="0" s="1"/>)"),
         "'' FixedCode: invalid string (length/charset)"},
        {"damaged XML", "<root><airports><ap c=\"EHAM\" la=", path + " not loaded: "},
        {"no airports element", "<root><airport/></root>", "Missing <airports> root in: " + path},
        {"airports without root", "<airports/>", "Missing <airports> root in: " + path},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const UserErrorException e = readFailure(c.content);
        EXPECT_EQ(e.code(), 88);
        if (c.message.ends_with(": ")) {
            EXPECT_TRUE(e.message().starts_with(c.message)) << e.message();
            EXPECT_GT(e.message().size(), c.message.size());
        } else {
            EXPECT_EQ(e.message(), c.message);
        }
    }
}

TEST_F(CatalogueReadTest, DecryptsReadsOnceAndLeavesNoPlainFile) {
    test::writeFile(folder / "source.xml",
                    airportsXml(R"(<ap c="EHAM" i="AMS" la="52.3" lo="4.76" a="-11" s="1"/>)"));
    data::streamEncrypt(data::programKey(), folder / "source.xml", folder / "airports.enc");

    ASSERT_TRUE(gf_readAirports(catalogue, folder.path()));
    EXPECT_FALSE(fs::exists(plain));
    EXPECT_TRUE(catalogue.isRtSupported(AirportCode("EHAM")));

    // Read once per process: a damaged file later changes nothing.
    test::writeFile(folder / "airports.enc", "damaged");
    EXPECT_TRUE(gf_readAirports(catalogue, folder.path()));
    EXPECT_EQ(catalogue.airports().size(), 1U);
}

TEST_F(CatalogueReadTest, DecryptionFailureIsLoggedAndPassedOn) {
    test::writeFile(folder / "airports.enc", std::string(100, 'x'));
    EXPECT_THROW(gf_readAirports(catalogue, folder.path()), std::runtime_error);
    EXPECT_TRUE(logged.contains("==> gf_readAirports exception : Decryption failed"));
    EXPECT_FALSE(fs::exists(plain));
    EXPECT_FALSE(catalogue.isRead());
}

}  // namespace
}  // namespace corv::airports
