#include <gtest/gtest.h>

#include "airports/AirportPaths.hpp"
#include "support/TempFolder.hpp"

namespace corv::airports {
namespace {

namespace fs = std::filesystem;

struct SourceCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;  // path below the working folder, text
    std::int32_t standClass;
    std::string expected;
};

TEST(AirportPaths, ResolvesTheFirstSourceThatHasTheAirport) {
    const SourceCase cases[] = {
        {"stock only", {}, 1, "archive/stock/EHAM.xml"},
        {"no stand class, no file", {}, 0, ""},
        {"link beats stock",
         {{"airports/my_thirdparty/EHAM.txt", "archive/thirdparty/Pub%20One/EHAM.XML  \r\n"}},
         1,
         "archive/thirdparty/Pub%20One/EHAM.XML"},
        {".XM is not a link",
         {{"airports/my_thirdparty/EHAM.txt", "archive/x/EHAM.XM"}},
         1,
         "archive/stock/EHAM.xml"},
        {"local file beats the ORBX link",
         {{"airports/my_thirdparty/EHAM.xml", "<root/>"},
          {"airports/my_ORBX/EHAM.txt", "archive/thirdparty/ORBX/EHAM.xml"}},
         1,
         "airports/my_thirdparty/EHAM.xml"},
        {"ORBX link beats the ORBX file",
         {{"airports/my_ORBX/EHAM.txt", "archive/thirdparty/ORBX/EHAM.xml"},
          {"airports/my_ORBX/EHAM.xml", "<root/>"}},
         0,
         "archive/thirdparty/ORBX/EHAM.xml"},
    };
    for (const SourceCase& c : cases) {
        SCOPED_TRACE(c.name);
        corv::test::TempFolder work;
        for (const auto& [path, text] : c.files) {
            fs::create_directories((work / path).parent_path());
            corv::test::writeFile(work / path, text);
        }
        CatalogueAirport airport;
        airport.code = AirportCode("EHAM");
        airport.standClass = c.standClass;
        AirportCatalogue catalogue;
        catalogue.assign({airport});

        EXPECT_EQ(resolveAirportFile(work.path(), catalogue, airport.code), c.expected);
        // A link file counts as stand data without being looked into.
        EXPECT_EQ(hasStandData(work.path(), catalogue, airport.code),
                  c.standClass > 0 || !c.files.empty());
    }
}

TEST(AirportPaths, MapsAirportFilesToTheirLearnedFiles) {
    const struct {
        const char* path;
        const char* publisher;
        std::optional<std::string> learned;
    } cases[] = {
        {"archive/stock/EHAM.xml", "stock", "airports/learned/stock/EHAM.xml"},
        {"archive/simaddon/KSEA.XML", "", "airports/learned/simaddon/KSEA.XML"},
        {"archive/thirdparty/%20ORBX%20Global/EGLL.xml", "",
         "airports/learned/thirdparty/ORBX Global/EGLL.xml"},
        {"archive/thirdparty/%20/EGLL.xml", "x", std::nullopt},
        {"airports/my_thirdparty/EDDM.xml", " Aerosoft ",
         "airports/learned/thirdparty/Aerosoft/EDDM.xml"},
        {"airports/my_thirdparty/EDDM.xml", "", std::nullopt},
        {"airports/my_thirdparty/EDDM.xml", "../..", "airports/learned/thirdparty/.._../EDDM.xml"},
        {"airports/my_simaddon/LOWI.xml", "x", "airports/learned/my_simaddon/LOWI.xml"},
        {"archive/stock/EHAM.txt", "stock", std::nullopt},
        {"Archive/stock/EHAM.xml", "stock", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(learnedPathOf(c.path, c.publisher), c.learned);
    }
    EXPECT_EQ(learnedFolderOf(".."), "airports/learned/thirdparty/_");
}

}  // namespace
}  // namespace corv::airports
