#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <zip.h>

#include <algorithm>
#include <atomic>
#include <fstream>

#include "airports/AirportCatalogue.hpp"
#include "common/UserErrorException.hpp"
#include "liveries/DbaseXml.hpp"
#include "liveries/ReferenceData.hpp"
#include "scan/AddonAirportScan.hpp"
#include "scan/ScanHarness.hpp"
#include "services/MessageLine.hpp"
#include "services/RunState.hpp"
#include "settings/ParameterTable.hpp"
#include "settings/SettingsFile.hpp"
#include "status/ControlIds.hpp"
#include "status/DisplayState.hpp"
#include "support/LogCapture.hpp"
#include "support/ParameterReset.hpp"
#include "support/QuietWindow.hpp"
#include "support/RecordedControls.hpp"
#include "support/StoredParameters.hpp"
#include "support/TempFolder.hpp"

namespace corv::test {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::ElementsAre;

// An installation after its first start: the airport folders, the ICAO list, the reference
// data that archives EGLL of the publisher "Some Dev" and EHAM as a simulator add-on, and a
// catalogue of EGLL, EGKK and EHAM.
class AddonAirportScanTest : public ::testing::Test {
  protected:
    AddonAirportScanTest() {
        resetParameters();
        fs::create_directories(install / "airports" / "my_ORBX");
        fs::create_directories(install / "airports" / "my_thirdparty");
        fs::create_directories(install / "output" / "info");
        fs::create_directories(install / "input");
        writeFile(install / "input" / "ICAO_airports.txt", "EGLL,EGKK\nEHAM\n");
        DbaseXml xml;
        xml.sections["publishers"] = R"(<pub names="Some Dev,SomeDev"/>)";
        xml.sections["thirdpartiesP3D"] = R"(<thirdpartieP3D pub="Some Dev" arpts="EGLL"/>)";
        writeFile(install / "dbase.xml", xml.text());
        EXPECT_TRUE(reference.readXml(install / "dbase.xml"));
        std::vector<airports::CatalogueAirport> listed;
        for (const char* code : {"EGLL", "EGKK", "EHAM"}) {
            airports::CatalogueAirport airport;
            airport.code = airports::AirportCode(code);
            listed.push_back(airport);
        }
        catalogue.assign(std::move(listed));
        settings::SIM_INSTALL_PATH.setCurrent((install / "P3D").string());
        settings::SCAN_AIRPORTS.setCurrent(true);
    }
    ~AddonAirportScanTest() override { resetParameters(); }

    // A scenery file with one airport of one parking spot.
    static void scenery(const fs::path& file, std::string_view code) {
        fs::create_directories(file.parent_path());
        const Bytes bytes =
            oneAirport({parkingListRecord(false, {ParkingEntry{}})}, false, 0, code);
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    void scan() {
        scan::AddonAirportScan({run, messages, settingsFile, controls, display, window, catalogue,
                                reference, install.path(), simNumber})
            .scanAddonAirports();
    }
    fs::path orbx() const { return install / "airports" / "my_ORBX"; }
    fs::path thirdParty() const { return install / "airports" / "my_thirdparty"; }
    fs::path tblo() const { return install / "tblo"; }

    LogCapture logged;
    TempFolder install;
    liveries::ReferenceData reference;
    airports::AirportCatalogue catalogue;
    services::RunState run;
    std::vector<std::string> shown;  // the message line at every repaint
    services::MessageLine messages{[this] { shown.push_back(messages.texts().message); }};
    RecordedControls controls;
    std::atomic<bool> stopRequested{false};
    settings::SettingsFile settingsFile{install / "parameters.xml", controls, stopRequested};
    status::DisplayState display;
    QuietWindow window;
    std::atomic<int> simNumber{5};
};

TEST_F(AddonAirportScanTest, UserErrorsEndTheScanBeforeTheAirportFoldersAreEmptied) {
    writeFile(thirdParty() / "EGLL.xml", "<root/>");
    writeFile(orbx() / "EHAM.txt", "archive/simaddon/EHAM.xml\n");
    const auto errorOf = [this] {
        try {
            scan();
        } catch (const UserErrorException& e) {
            return std::make_pair(e.code(), e.message());
        }
        return std::make_pair(0, std::string());
    };
    EXPECT_EQ(errorOf().first, 49) << "no afolder set";

    settings::afolder[0].setCurrent((install / "P3D" / "Scenery" / "World").string());
    EXPECT_EQ(errorOf(), std::make_pair(42, std::string("parameter afolder0 points to stock "
                                                        "airports instead of add-on airports!")));

    settings::afolder[0].setCurrent((install / "addons").string());
    fs::remove(install / "input" / "ICAO_airports.txt");
    EXPECT_EQ(errorOf().first, 522);

    EXPECT_THAT(folderNames(thirdParty()), ElementsAre("EGLL.xml"));
    EXPECT_THAT(folderNames(orbx()), ElementsAre("EHAM.txt"));
    EXPECT_TRUE(settings::SCAN_AIRPORTS.value()) << "a failed scan is not taken as done";
}

TEST_F(AddonAirportScanTest, AnAddonWhollyInTheArchiveIsLinkedAndNeedsNoMail) {
    writeFile(thirdParty() / "KJFK.xml", "<root/>");  // from an earlier scan
    scenery(install / "addons" / "Some Dev EGLL" / "scenery" / "AD_EGLL.bgl", "EGLL");
    settings::afolder[3].setCurrent((install / "addons").string());
    scan();

    EXPECT_THAT(folderNames(thirdParty()), ElementsAre("EGLL.txt"));
    EXPECT_EQ(readFile(thirdParty() / "EGLL.txt"), "archive/thirdparty/Some%20Dev/EGLL.xml\n");
    EXPECT_FALSE(fs::exists(tblo()));
    EXPECT_TRUE(
        logged.contains("All your simaddon and third party airports are recognised, no "
                        "off line learning needed."));
    EXPECT_THAT(shown, Contains("Scanning for airports ... 1 / 1 files"));
    EXPECT_EQ(display.snapshot().simaddonCount, 0);
    EXPECT_EQ(display.snapshot().thirdpartyCount, 1);
    EXPECT_FALSE(display.snapshot().tbloRequestShown);
    EXPECT_FALSE(controls.enabled.contains(status::button::tbloZip));

    // Scanned once: the next start keeps the folders unless the user asks again.
    EXPECT_FALSE(settings::SCAN_AIRPORTS.value());
    EXPECT_EQ(storedValue(settingsFile.path(), "SCAN_AIRPORTS"), "false");
    EXPECT_FALSE(controls.ticked.at(settings::SCAN_AIRPORTS.controlId));
}

TEST_F(AddonAirportScanTest, AnAirportGeneratedOnceAndLinkedOnceKeepsTheLinkAndIsMailed) {
    scenery(install / "addons" / "Some Dev" / "AD_EGLL.bgl", "EGLL");
    scenery(install / "addons" / "Freeware" / "EGLL_2.bgl", "EGLL");
    scenery(install / "addons" / "Freeware" / "EGKK.bgl", "EGKK");
    settings::afolder[0].setCurrent((install / "addons").string());
    scan();

    EXPECT_THAT(folderNames(thirdParty()), ElementsAre("EGKK.xml", "EGLL.txt"));
    EXPECT_THAT(folderNames(tblo()), ElementsAre("tblo.zip"));
    zip_t* archive = zip_open((tblo() / "tblo.zip").c_str(), ZIP_RDONLY, nullptr);
    ASSERT_NE(archive, nullptr);
    std::vector<std::string> zipped;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i)
        zipped.emplace_back(zip_get_name(archive, static_cast<zip_uint64_t>(i), 0));
    zip_close(archive);
    std::sort(zipped.begin(), zipped.end());
    EXPECT_THAT(zipped, ElementsAre("EGKK.xml", "EGLL.xml"));
    EXPECT_TRUE(display.snapshot().tbloRequestShown);
    EXPECT_TRUE(controls.enabled.at(status::button::tbloZip));
    EXPECT_EQ(display.snapshot().thirdpartyCount, 2);
}

TEST_F(AddonAirportScanTest, OnlySimulatorAddonsAndStockFoldersAreNoFind) {
    scenery(install / "addons" / "orbx" / "EHAM.bgl", "EHAM");
    // Inside the stock scenery in another letter case: skipped without a word.
    scenery(install / "P3D" / "scenery" / "world" / "EGKK.bgl", "EGKK");
    settings::afolder[0].setCurrent((install / "addons").string());
    settings::afolder[1].setCurrent((install / "P3D" / "scenery").string());
    scan();

    EXPECT_THAT(folderNames(orbx()), ElementsAre("EHAM.txt"));
    EXPECT_THAT(folderNames(thirdParty()), ::testing::IsEmpty());
    EXPECT_EQ(messages.texts().message, "Warning: Scan has not found any add-on airports");
    EXPECT_TRUE(logged.contains("Warning: Scan has not found any add-on airports"));
    EXPECT_EQ(display.snapshot().simaddonCount, 1);
}

}  // namespace
}  // namespace corv::test
