#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "liveries/CfgReader.hpp"
#include "liveries/DbaseXml.hpp"
#include "liveries/ReferenceData.hpp"
#include "support/LogCapture.hpp"
#include "support/TempFolder.hpp"

namespace corv::liveries {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

// A section of an airliner whose files are all installed (see installFiles); `extra` adds or
// overrides keys.
std::string section(const std::string& header, const std::string& title,
                    const std::string& extra = "atc_parking_codes=KLM\n") {
    return header + "\ntitle=" + title + "\nsim=jet\nmodel=\ntexture=\n" + extra + "\n";
}

const std::string general = "[General]\natc_type=BOEING\natc_model=B738\n\n";

class CfgReaderTest : public ::testing::Test {
  protected:
    CfgReaderTest() {
        xml.sections["aircrafts"] += R"(<aircraft types="EUFI"/>)";
        xml.sections["high_performance"] = R"(<hpf types="F16,EUFI"/>)";
        xml.sections["ICAO_airlines"] += R"(<ICAO codes="ZZZ,AFR,JBU"/>)";
        xml.sections["fixes"] = R"(<fx wro="B38" cor="B738"/><fx wro="Typhoon" cor="EUFI"/>)";
        xml.sections["dbase"] =
            R"(<d r="PH-BXA" a="KLM" o="MPH" m="B738" c="true"/>)"
            R"(<d r="D-ABC" a="DLH" m="C25A"/><d r="G-LONGREG" a="BAW" m="A320"/>)";
        test::writeFile(folder / "dbase.xml", xml.text());
        EXPECT_TRUE(reference.readXml(folder / "dbase.xml"));
        installFiles(folder.path());
    }

    static void installFiles(const fs::path& at) {
        fs::create_directories(at / "model");
        fs::create_directories(at / "texture");
        test::writeFile(at / "jet.air", "");
    }

    CfgReadResult read(const std::string& text, const std::string& name = "aircraft.cfg") {
        test::writeFile(folder / name, text);
        return readAircraftCfg(folder / name, context);
    }

    std::string file(const std::string& name = "aircraft.cfg") const {
        return (folder / name).string();
    }

    static Strings titles(const CfgReadResult& result) {
        Strings found;
        for (const LiveryData& livery : result.liveries)
            found.push_back(livery.title);
        return found;
    }

    std::string airline(const LiveryData& livery) const {
        return std::string(reference.airlineText(livery.airline));
    }
    std::string model(const LiveryData& livery) const {
        return std::string(reference.modelText(livery.model));
    }

    test::LogCapture logged;
    test::TempFolder folder;
    test::DbaseXml xml;
    ReferenceData reference;
    TitlesSeen titlesSeen;
    std::set<std::string, std::less<>> unusableTitles;
    CfgReadContext context{reference, titlesSeen, unusableTitles, 2};
};

TEST_F(CfgReaderTest, HeadersInAnyCaseStartSectionsThatEndAtTheNextBracketedLine) {
    const CfgReadResult result =
        read("free text before any section = [x]\n\xEF\xBB\xBF\n" + section("[FLTSIM.3]", "Upper") +
             section("[Fltsim.4]", "Mixed") +
             // [General] ends the section: its keys are not the livery's.
             "[fltsim.5]\ntitle=Cut short\nsim=jet\n[General]\natc_model=B738\n"
             "atc_parking_codes=KLM\n\n" +
             section("  [fltsim.6]  // a comment after the header", "Commented header") +
             "//[fltsim.7]\n//title=Commented out\n" +
             section("[fltsim.8]", "Last, after an indented key", "   atc_parking_codes = DLH  "));
    EXPECT_EQ(titles(result), (Strings{"Upper", "Mixed", "Cut short", "Commented header",
                                       "Last, after an indented key"}));
    EXPECT_EQ(airline(result.liveries[0]), "KLM");
    EXPECT_EQ(model(result.liveries[0]), "B738");
    EXPECT_EQ(result.liveries[0].folderRank, 2);
    EXPECT_EQ(airline(result.liveries[2]), "PVT");
    EXPECT_EQ(airline(result.liveries[4]), "DLH");
    EXPECT_EQ(result.report.incompleteSections,
              (Strings{file() + " [fltsim.5] icao_airline is missing, or it has invalid info "}));
}

TEST_F(CfgReaderTest, SectionNumbersAboveTheLimitDropTheWholeFile) {
    struct Case {
        std::string header;
        std::size_t liveries;
        Strings invalidFiles;
    };
    const std::string tooHigh =
        file() + " contains a [fltsim.x] section with a number < 0 or > 10000";
    const Case cases[] = {
        {"[fltsim.10000]", 2, {}},
        {"[fltsim.10001]", 0, {tooHigh}},
        {"[fltsim.99999999999]", 0, {}},  // not a number at all: logged only
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        TitlesSeen fresh;
        CfgReadContext once{reference, fresh, unusableTitles, 1};
        test::writeFile(folder / "aircraft.cfg",
                        section("[fltsim.0]", "Good") + general + section(c.header, "Numbered"));
        const CfgReadResult result = readAircraftCfg(folder / "aircraft.cfg", once);
        EXPECT_EQ(result.liveries.size(), c.liveries);
        EXPECT_EQ(result.report.invalidFiles, c.invalidFiles);
    }
    EXPECT_TRUE(logged.contains("==> fltsim num 99999999999 incorrect"));

    const CfgReadResult none = read(general + "[fltsim]\ntitle=No number\n");
    EXPECT_TRUE(none.liveries.empty());
    EXPECT_EQ(none.report.filesWithoutSections, Strings{file()});
}

TEST_F(CfgReaderTest, TheFileModelIsTakenFixedOrRefused) {
    const CfgReadResult fixed = read(section("[fltsim.0]", "Fixed") + "[General]\natc_model=B38\n");
    ASSERT_EQ(fixed.liveries.size(), 1u);
    EXPECT_EQ(model(fixed.liveries[0]), "B738");
    EXPECT_EQ(fixed.report.fixes,
              Strings{"Model fix: B38 found in " + file() + " changed into B738"});

    const CfgReadResult unknown = read(section("[fltsim.0]", "Unknown") + "atc_model = XYZ1 \n");
    EXPECT_TRUE(unknown.liveries.empty());
    EXPECT_EQ(unknown.report.invalidModels, Strings{"XYZ1             in " + file()});

    const CfgReadResult missing = read(section("[fltsim.0]", "Missing") + "[General]\n");
    EXPECT_TRUE(missing.liveries.empty());
    EXPECT_EQ(missing.report.invalidFiles,
              Strings{"Line atc_model= is missing in [General] section of " + file()});
}

TEST_F(CfgReaderTest, TheFirstParkingCodeNamesTheAirline) {
    struct Case {
        std::string codes;
        std::string airline;  // empty: no livery
        Strings invalidAirlines;
    };
    const Case cases[] = {
        {"KLMX", "KLM", {}},
        {"DLHC", "DLH", {}},
        {" BAW , KLM", "BAW", {}},
        {"KLMZ", "PVT", {"KLMZ         in " + file()}},
        {"klm", "PVT", {"klm          in " + file()}},
        {"XL_,KLM", "PVT", {"XL_          in " + file()}},
        {"RFO", "", {}},
        {"RFOX", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codes);
        TitlesSeen fresh;
        CfgReadContext once{reference, fresh, unusableTitles, 1};
        test::writeFile(folder / "aircraft.cfg",
                        section("[fltsim.0]", "T", "atc_parking_codes=" + c.codes) + general);
        const CfgReadResult result = readAircraftCfg(folder / "aircraft.cfg", once);
        EXPECT_EQ(result.report.invalidAirlines, c.invalidAirlines);
        if (c.airline.empty()) {
            EXPECT_TRUE(result.liveries.empty());
            EXPECT_TRUE(result.report.incompleteSections.empty());
        } else {
            ASSERT_EQ(result.liveries.size(), 1u);
            EXPECT_EQ(airline(result.liveries[0]), c.airline);
        }
    }
}

TEST_F(CfgReaderTest, AtcIdGivesOneRegistrationOrNone) {
    struct Case {
        std::string atcId;
        std::string registration;
        bool invalid;
    };
    const Case cases[] = {
        {"PH-BXZ", "PH-BXZ", false},
        {"PH-BXZ;comment", "PH-BXZ", false},
        {"PH-BXZ ; comment", "PH-BXZ", false},
        {"PH-BXA,PH-BXB", "", false},
        {"PH-BXA,*", "", true},
        {"PH-BXA, ,PH-BXB", "", true},
        {"PH-BXA,,PH-BXB", "", true},
        {"ABCDEFGHIJKLM", "", true},
        {"ABCDEFGHIJKL", "ABCDEFGHIJKL", false},
        {";only a comment", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.atcId);
        TitlesSeen fresh;
        CfgReadContext once{reference, fresh, unusableTitles, 1};
        test::writeFile(
            folder / "aircraft.cfg",
            section("[fltsim.0]", "T", "atc_parking_codes=KLM\natc_id=" + c.atcId) + general);
        const CfgReadResult result = readAircraftCfg(folder / "aircraft.cfg", once);
        ASSERT_EQ(result.liveries.size(), 1u);
        EXPECT_EQ(result.liveries[0].registration, c.registration);
        EXPECT_EQ(result.report.incompleteSections,
                  c.invalid ? Strings{"invalid atc_id=" + c.atcId + " in: T"} : Strings{});
    }
}

TEST_F(CfgReaderTest, AKnownRegistrationBringsItsAirframe) {
    const CfgReadResult result =
        read(section("[fltsim.0]", "Known", "atc_parking_codes=DLH\natc_id=PH-BXA") +
             section("[fltsim.1]", "Generic", "atc_parking_codes=ZZZ\natc_id=PH-BXA") +
             section("[fltsim.2]", "Unknown",
                     "atc_parking_codes=DLH\natc_parking_types=Gate,cargo\n"
                     "atc_id=PH-XXX") +
             general);
    ASSERT_EQ(result.liveries.size(), 3u);
    const LiveryData& known = result.liveries[0];
    EXPECT_TRUE(known.fromDbase);
    EXPECT_EQ(known.registration, "PH-BXA");
    EXPECT_EQ(airline(known), "KLM");
    EXPECT_EQ(reference.airlineText(known.operatorIndex), "MPH");
    EXPECT_TRUE(known.cargo);

    const LiveryData& generic = result.liveries[1];
    EXPECT_FALSE(generic.fromDbase);
    EXPECT_EQ(generic.registration, "");
    EXPECT_EQ(airline(generic), "ZZZ");

    const LiveryData& unknown = result.liveries[2];
    EXPECT_FALSE(unknown.fromDbase);
    EXPECT_EQ(unknown.registration, "PH-XXX");
    EXPECT_EQ(airline(unknown), "DLH");
    EXPECT_EQ(unknown.operatorIndex, 0);
    EXPECT_TRUE(unknown.cargo);
}

TEST_F(CfgReaderTest, WithoutAirlineALiveryIsPrivateUnlessItIsAHeavy) {
    const std::string noAirline =
        file() + " [fltsim.0] icao_airline is missing, or it has invalid info ";
    const CfgReadResult jet =
        read(section("[fltsim.0]", "Citation", "") + "[General]\natc_model=C25A\n");
    ASSERT_EQ(jet.liveries.size(), 1u);
    EXPECT_EQ(airline(jet.liveries[0]), "PVT");
    EXPECT_EQ(model(jet.liveries[0]), "C25A");
    EXPECT_EQ(jet.report.incompleteSections, Strings{noAirline});

    // A short registration of the reference data in the title is the airframe; a long one is
    // not searched for.
    const CfgReadResult inTitle =
        read(section("[fltsim.0]", "Citation D-ABC", "") +
             section("[fltsim.1]", "A G-LONGREG", "") + "[General]\natc_model=C25A\n");
    ASSERT_EQ(inTitle.liveries.size(), 2u);
    EXPECT_EQ(inTitle.liveries[0].registration, "D-ABC");
    EXPECT_TRUE(inTitle.liveries[0].fromDbase);
    EXPECT_EQ(airline(inTitle.liveries[0]), "DLH");
    EXPECT_EQ(inTitle.liveries[1].registration, "");
    EXPECT_EQ(airline(inTitle.liveries[1]), "PVT");

    const CfgReadResult heavy = read(section("[fltsim.0]", "Jumbo", "") +
                                     section("[fltsim.1]", "Jumbo with id", "atc_id=N744XX") +
                                     section("[fltsim.2]", "Jumbo in dbase", "atc_id=PH-BXA") +
                                     "[General]\natc_model=B744\n");
    EXPECT_EQ(titles(heavy), Strings{"Jumbo in dbase"});
    EXPECT_EQ(model(heavy.liveries[0]), "B738");
    EXPECT_EQ(heavy.report.incompleteSections,
              (Strings{noAirline, "'" + file() + "' 'Jumbo' has no airline and no regcode info",
                       file() + " [fltsim.1] icao_airline is missing, or it has invalid info ",
                       "'" + file() + "' 'Jumbo with id' has no airline and regcode not in dbase",
                       file() + " [fltsim.2] icao_airline is missing, or it has invalid info "}));
}

TEST_F(CfgReaderTest, ASecondKeyOrAMissingTitleDropsOnlyThatSection) {
    const CfgReadResult result = read(
        section("[fltsim.0]", "Two titles", "title=Again\natc_parking_codes=KLM") +
        section("[fltsim.1]", "Two codes", "atc_parking_codes=KLM\natc_parking_codes=DLH") +
        section("[fltsim.2]", "Two types",
                "atc_parking_codes=KLM\natc_parking_types=GATE\n"
                "ATC_PARKING_TYPES=RAMP") +
        section("[fltsim.3]", "Two ids", "atc_parking_codes=KLM\natc_id=A\nAtc_Id=B") +
        "[fltsim.4]\nsim=jet\natc_parking_codes=KLM\n" + section("[fltsim.5]", "Fine") + general);
    EXPECT_EQ(titles(result), Strings{"Fine"});
    const std::string f = file();
    EXPECT_EQ(result.report.incompleteSections,
              (Strings{f + " [fltsim.0] has more than one title key",
                       f + " [fltsim.1] has more than one atc_parking_codes key",
                       f + " [fltsim.2] has more than one atc_parking_types key",
                       f + ", [fltsim.3], has more than one atc_id key",
                       f + " [fltsim.4] misses title"}));
}

TEST_F(CfgReaderTest, ALiveryNeedsItsModelTextureAndAirFiles) {
    fs::create_directories(folder / "model.lo");
    fs::create_directories(folder / "texture.KLM");
    const CfgReadResult result =
        read(section("[fltsim.0]", "Named folders",
                     "atc_parking_codes=KLM\nmodel=lo\ntexture=KLM\nmodel=hi") +
             section("[fltsim.1]", "No texture folder", "atc_parking_codes=KLM\ntexture=DLH") +
             section("[fltsim.2]", "No model folder", "atc_parking_codes=KLM\nmodel=hi") +
             "[fltsim.3]\ntitle=No air file\nsim=prop\natc_parking_codes=KLM\n" +
             // An empty value means the plain folder.
             section("[fltsim.4]", "Empty values", "atc_parking_codes=KLM\ntexture=  \nmodel=") +
             general);
    EXPECT_EQ(titles(result), (Strings{"Named folders", "Empty values"}));
    const fs::path f = folder.path();
    EXPECT_EQ(result.report.incompleteSections,
              (Strings{(f / "model").string() + " or related path does not exist: [fltsim.1]",
                       (f / "model.hi").string() + " or related path does not exist: [fltsim.2]",
                       (f / "model").string() + " or related path does not exist: [fltsim.3]"}));
}

TEST_F(CfgReaderTest, ATitleIsUsedOnceAcrossFilesAndNeverWhenUnusable) {
    unusableTitles.insert("Banned");
    const std::string text = section("[fltsim.0]", "KLM 737") +
                             section("[fltsim.1]", "A Fictional airline") +
                             section("[fltsim.2]", "Banned") + general;
    const CfgReadResult first = read(text, "aircraft.cfg");
    EXPECT_EQ(titles(first), Strings{"KLM 737"});
    EXPECT_TRUE(first.report.incompleteSections.empty());

    const CfgReadResult second = read(text, "sim.cfg");
    EXPECT_TRUE(second.liveries.empty());
    EXPECT_EQ(second.report.incompleteSections,
              Strings{file("sim.cfg") + " [fltsim.0] title 'KLM 737' already exists"});
}

TEST_F(CfgReaderTest, ReadsEveryEncodingAndSurvivesUnreadableFiles) {
    const std::string text = section("[fltsim.0]", "Caf\xC3\xA9 jet") + general;
    std::string utf16{"\xFF\xFE", 2};
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\xC3') {
            utf16 += std::string{"\xE9\x00", 2};  // U+00E9
            ++i;
        } else {
            utf16 += text[i];
            utf16 += '\0';
        }
    }
    const std::string crlf =
        "\xEF\xBB\xBF[fltsim.0]\r\ntitle=Caf\xC3\xA9 jet\r\nsim=jet\r\n"
        "atc_parking_codes=KLM\r\n[General]\r\natc_model=B738\r\n";
    const std::string ansi =
        "[fltsim.0]\ntitle=Caf\xE9 jet\nsim=jet\natc_parking_codes=KLM\n" + general;
    for (const std::string& content : {text, utf16, crlf}) {
        TitlesSeen fresh;
        CfgReadContext once{reference, fresh, unusableTitles, 1};
        test::writeFile(folder / "aircraft.cfg", content);
        const CfgReadResult result = readAircraftCfg(folder / "aircraft.cfg", once);
        EXPECT_EQ(titles(result), Strings{"Caf\xC3\xA9 jet"});
    }
    // Bytes that are not UTF-8 pass through unchanged.
    EXPECT_EQ(titles(read(ansi)), Strings{"Caf\xE9 jet"});

    // UTF-16 with an odd byte, without a byte-order mark, and no file at all.
    EXPECT_TRUE(read(utf16 + "x").liveries.empty());
    EXPECT_TRUE(read(utf16.substr(2)).liveries.empty());
    EXPECT_TRUE(
        read(std::string{"\xFF\xFE\x00\xD8\x41\x00", 6}).liveries.empty());  // lone surrogate
    EXPECT_TRUE(logged.contains("! Failed reading " + file()));
    EXPECT_TRUE(readAircraftCfg(folder / "missing.cfg", context).liveries.empty());
    EXPECT_TRUE(logged.contains("! No text encoding detected for " + file("missing.cfg")));
}

TEST_F(CfgReaderTest, IvaoModelSetsTakeTheTypeFromTheFolderAndTheAirlineFromTheTitle) {
    const fs::path set = folder / "IVAO_MTL" / "IVAO_B744Fw";
    installFiles(set);
    test::writeFile(set / "aircraft.cfg",
                    section("[fltsim.0]", "B744 KLM", "atc_parking_codes=DLH") +
                        section("[fltsim.1]", "IVAO B744XYZ", "") +
                        section("[fltsim.2]", "Jumbo PH-BXA", "atc_id=PH-BXA") +
                        section("[fltsim.3]", "Jumbo unknown", "atc_id=N1") +
                        section("[fltsim.4]", "Jumbo none", "atc_parking_codes=XYZ") +
                        section("[fltsim.5]", "B744 ZZZ generic", "atc_id=PH-BXA") +
                        section("[fltsim.6]", "B744 KLM", "") +
                        section("[fltsim.7]", "B744 KLM two", "atc_id=A,*") +
                        "[General]\natc_model=A320\n");
    const CfgReadResult result = readAircraftCfg(set / "aircraft.cfg", context);
    ASSERT_EQ(titles(result),
              (Strings{"B744 KLM", "Jumbo PH-BXA", "B744 ZZZ generic", "B744 KLM two"}));
    EXPECT_EQ(airline(result.liveries[0]), "KLM");
    EXPECT_EQ(model(result.liveries[0]), "B744");
    EXPECT_TRUE(result.liveries[1].fromDbase);
    EXPECT_EQ(model(result.liveries[1]), "B738");
    EXPECT_EQ(airline(result.liveries[2]), "ZZZ");
    EXPECT_EQ(result.liveries[2].registration, "");

    const std::string f = (set / "aircraft.cfg").string();
    EXPECT_EQ(result.report.invalidAirlines, Strings{"XYZ          in " + f});
    EXPECT_EQ(result.report.incompleteSections,
              (Strings{f + " [fltsim.3] misses airlinecode in title: Jumbo unknown, and regcode "
                           "unknown N1",
                       f + " [fltsim.4] misses airlinecode in title: Jumbo none, and no regcode",
                       f + " [fltsim.6] title already exists: B744 KLM",
                       "invalid atc_id=A,* in B744 KLM two"}));
}

TEST_F(CfgReaderTest, IvaoFolderNamesLoseTheirVariantLetters) {
    const std::pair<std::string, std::string> cases[] = {
        {"IVAO_B744F", "B744"},     {"IVAO_T154M", "T154"},   {"IVAO_T154B2", "T154"},
        {"IVAO_T154Mw", "T154"},    {"IVAO_GLID_SH", "GLID"}, {"IVAO_GLID_KA8", "GLID"},
        {"IVAO_GLID_A25w", "GLID"}, {"IVAO_B38", "B738"},     {"IVAO_MD11w", "MD11"},
        {"IVAO_B744FW", "B744FW"},
    };
    for (const auto& [name, code] : cases) {
        SCOPED_TRACE(name);
        const fs::path set = folder / "sim" / "IVAO_MTL" / name;
        installFiles(set);
        test::writeFile(set / "aircraft.cfg", section("[fltsim.0]", code + " KLM", ""));
        TitlesSeen fresh;
        CfgReadContext once{reference, fresh, unusableTitles, 1};
        const CfgReadResult result = readAircraftCfg(set / "aircraft.cfg", once);
        const std::string f = (set / "aircraft.cfg").string();
        if (reference.isModelCode(code) || reference.fixOf(name.substr(5))) {
            ASSERT_EQ(result.liveries.size(), 1u);
            EXPECT_EQ(model(result.liveries[0]), code);
        } else {
            EXPECT_EQ(result.report.invalidModels, Strings{fmt::format("{:16} in {}", code, f)});
        }
    }
    // Not below an IVAO_MTL folder: no type, so nothing at all.
    const fs::path csl = folder / "ivao_x-csl" / "IVAO_A320";
    installFiles(csl);
    test::writeFile(csl / "aircraft.cfg", section("[fltsim.0]", "A320 KLM") + general);
    const CfgReadResult none = readAircraftCfg(csl / "aircraft.cfg", context);
    EXPECT_TRUE(none.liveries.empty());
    EXPECT_TRUE(none.report.invalidModels.empty());
}

// The real files read with every livery file taken as installed.
class RealCfgTest : public CfgReaderTest {
  protected:
    RealCfgTest() {
        const char* configured = std::getenv("CORV_SHARED_DATA");
        const fs::path shared = configured && *configured ? configured : CORV_SHARED_DATA_DIR;
        if (fs::is_directory(shared / "liveries")) liveries = shared / "liveries";
        context.files.isFolder = [](const fs::path&) { return true; };
        context.files.isFile = [](const fs::path&) { return true; };
    }
    fs::path liveries;
};

TEST_F(RealCfgTest, AnAiAirlinerWithHundredsOfSections) {
    if (liveries.empty()) GTEST_SKIP() << "shared data folder with liveries/ not found";
    const fs::path path = liveries / "UTLive_A320_aircraft.cfg";
    const CfgReadResult result = readAircraftCfg(path, context);

    // Every section has its own title; the one whose code is unknown becomes private.
    EXPECT_EQ(result.liveries.size(), 115u);
    EXPECT_EQ(result.liveries.front().title, "UTLive_320_Daedalus");
    std::set<std::string> airlines;
    for (const LiveryData& livery : result.liveries) {
        EXPECT_EQ(model(livery), "A320") << livery.title;
        airlines.insert(airline(livery));
    }
    EXPECT_TRUE(airlines.contains("DLH"));
    EXPECT_TRUE(airlines.contains("AFR"));
    EXPECT_TRUE(airlines.contains("JBU"));
    EXPECT_TRUE(airlines.contains("PVT"));
    EXPECT_FALSE(result.report.invalidAirlines.empty());
    for (const std::string& line : result.report.invalidAirlines)
        EXPECT_TRUE(line.ends_with(" in " + path.string())) << line;
    EXPECT_TRUE(result.report.invalidFiles.empty());
}

TEST_F(RealCfgTest, MilitaryJetsWithCommentedModelsAndFixedType) {
    if (liveries.empty()) GTEST_SKIP() << "shared data folder with liveries/ not found";
    const fs::path path = liveries / "EF2000_Spain_Ala14_aircraft.cfg";
    const CfgReadResult result = readAircraftCfg(path, context);
    EXPECT_EQ(result.report.fixes,
              Strings{"Model fix: Typhoon found in " + path.string() + " changed into EUFI"});
    ASSERT_EQ(result.liveries.size(), 32u);
    for (const LiveryData& livery : result.liveries) {
        EXPECT_EQ(airline(livery), "PVT") << livery.title;
        EXPECT_EQ(model(livery), "EUFI");
        EXPECT_FALSE(livery.registration.empty()) << livery.title;
    }
    EXPECT_EQ(result.liveries.front().title, "MAIW_NBAI_F2_SAF Ala14 C.16-31");

    // The two-seater uses titles of its own.
    const CfgReadResult trainer =
        readAircraftCfg(liveries / "EF2000T_Spain_Ala14_aircraft.cfg", context);
    EXPECT_EQ(titles(trainer),
              (Strings{"MAIW_NBAI_T1_SAF Ala14 CE-16 11", "MAIW_NBAI_T1_SAF Ala14 CE-16 12"}));
    EXPECT_EQ(trainer.liveries[0].registration, "14-70");
}

}  // namespace
}  // namespace corv::liveries
