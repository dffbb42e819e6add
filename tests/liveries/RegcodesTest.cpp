#include <gtest/gtest.h>

#include <string>
#include <unordered_set>
#include <vector>

#include "data/EncryptedFile.hpp"
#include "liveries/OfflineRegcodes.hpp"
#include "services/MessageLine.hpp"
#include "support/LogCapture.hpp"
#include "support/TempFolder.hpp"

namespace corv::liveries {
namespace {

namespace fs = std::filesystem;

struct RegcodesTest : ::testing::Test {
    RegcodesTest() { fs::create_directories(folders.input / "my_regcodes"); }

    void userFile(const std::string& name, const std::string& content) {
        test::writeFile(folders.input / "my_regcodes" / name, content);
    }
    // The shipped list, encrypted with the program's key as the build does it.
    void shippedList(const std::string& entries) {
        const fs::path plain = folder / "plain.xml";
        test::writeFile(plain, "<?xml version=\"1.0\"?><root><aig>" + entries + "</aig></root>");
        data::streamEncrypt(data::programKey(), plain, folders.input / "AIG-regcodes.enc");
    }
    std::vector<std::string> reportLines(const fs::path& file) const {
        return test::splitLines(test::readFile(file));
    }

    test::LogCapture logged;
    test::TempFolder folder;
    RegcodeFolders folders{folder / "input", folder / "output" / "info",
                           folder / "output" / "errors"};
    services::MessageLine messages{[] {}};
    RegistrationIndex index;
    std::unordered_set<std::string> installed{"KLM Boeing 737-800 PH-BXA", "KLM Boeing 737-800",
                                              "Transavia 737 Special", "Swiss A320"};
};

TEST_F(RegcodesTest, UserFilesAddRegistrationsAndNameTitlesNeverToUse) {
    userFile("mine.TXT",
             "KLM Boeing 737-800 PH-BXA;PH-BXA\n"
             "Not installed;PH-XXX\n"  // skipped silently
             "KLM Boeing 737-800;PH-BXB, PH-BXC;extra\n"
             "Ugly Livery;\n"
             "ab;c\n"                            // too short to be a record
             "Swiss A320;HB,HB-JLTABCDEFGH\n");  // both of wrong length
    userFile("ignored.cfg", "Swiss A320;HB-JLT\n");
    applyOfflineRegcodes(index, installed, folders, messages);

    EXPECT_EQ(index.titleOf("PH-BXA"), "KLM Boeing 737-800 PH-BXA");
    EXPECT_EQ(index.titleOf("PH-BXC"), "KLM Boeing 737-800");
    EXPECT_EQ(index.titleOf("PH-XXX"), "");
    EXPECT_EQ(index.titleOf("HB-JLT"), "") << "only .txt files are lists";
    EXPECT_EQ(index.size(), 3u);
    EXPECT_TRUE(logged.contains("3 new regcodes added"));
    EXPECT_TRUE(logged.contains("wrong regcode length 'HB' in " +
                                (folders.input / "my_regcodes" / "mine.TXT").string()));
    EXPECT_EQ(messages.texts().message,
              "There were errors processing the regcode files in folder '" +
                  (folders.input / "my_regcodes").string() + "', see Log.txt");

    EXPECT_EQ(loadDontUseTitles(folders, messages), std::vector<std::string>{"Ugly Livery"});
    EXPECT_TRUE(logged.contains("    1 don't use title read from files in " +
                                (folders.input / "my_regcodes").string()));
}

TEST_F(RegcodesTest, TheFileAppliedLastWinsARegistrationWithOneReportLine) {
    userFile("a.txt", "KLM Boeing 737-800;PH-BXA\n");
    userFile("b.txt", "KLM Boeing 737-800 PH-BXA;PH-BXA\n");
    applyOfflineRegcodes(index, installed, folders, messages);

    EXPECT_EQ(index.titleOf("PH-BXA"), "KLM Boeing 737-800 PH-BXA");
    EXPECT_EQ(reportLines(folders.info / "OfflineRegcodes.txt"),
              std::vector<std::string>{"   regcode PH-BXA for 'KLM Boeing 737-800 PH-BXA', "
                                       "instead of the same for 'KLM Boeing 737-800'"});
    EXPECT_TRUE(logged.contains("0 new regcodes added, 1 regcode replaced"));
}

TEST_F(RegcodesTest, TheFirstLiveryKeepsAnInlineRegistrationAndTheOtherIsAClash) {
    applyInlineRegcodes(index,
                        {{"KLM Boeing 737-800", "PH-BXA"},
                         {"KLM Boeing 737-800 PH-BXA", "PH-BXA"},
                         {"Swiss A320", ""},
                         {"KLM Boeing 737-800", "PH-BXA"}},
                        folders);
    EXPECT_EQ(index.titleOf("PH-BXA"), "KLM Boeing 737-800");
    const fs::path report = folders.errors / "InlineRegcodes.txt";
    EXPECT_EQ(reportLines(report),
              std::vector<std::string>{
                  "PH-BXA 'KLM Boeing 737-800 PH-BXA' => already in use by 'KLM Boeing 737-800'"});
    EXPECT_TRUE(logged.contains("    1 in-line regcode clashes, see '" + report.string() + "'"));
}

TEST_F(RegcodesTest, TheShippedListIsReadDecryptedAndNeverLeftOnDisk) {
    shippedList(R"(<l t="Transavia 737 Special" r="PH-HSW,PH-HSX" s="true"/>)"
                R"(<l t="Swiss A320" r="HB-JLT" s="true"/>)"
                R"(<l r="PH-NOT"/>)"  // no title: skipped
                R"(<l t="Dreadful Repaint"/>)"
                R"(<l t="Dreadful Repaint" r=""/>)");
    applyOfflineRegcodes(index, installed, folders, messages);

    EXPECT_FALSE(fs::exists(folders.input / "AIG-regcodes.xml"));
    EXPECT_EQ(index.titleOf("PH-HSX"), "Transavia 737 Special");
    EXPECT_TRUE(index.isSpecialTitle("Transavia 737 Special"));
    // A special livery of two airframes is special for both, unique for neither.
    EXPECT_TRUE(index.isSpecialRegistration("PH-HSW"));
    EXPECT_FALSE(index.isUniqueRegistration("PH-HSW"));
    EXPECT_TRUE(index.isUniqueRegistration("HB-JLT"));
    EXPECT_TRUE(logged.contains("3 new regcodes added, 3 regcodes defined as special"));
    EXPECT_TRUE(logged.contains("    2 special liveries"));
    EXPECT_TRUE(logged.contains("    1 unique liveries"));
    EXPECT_TRUE(logged.contains("==> Duplicate title 'Dreadful Repaint' (same as previous)"));
    EXPECT_EQ(messages.texts().message, "There were errors processing the AIG-regcode file '" +
                                            (folders.input / "AIG-regcodes.xml").string() +
                                            "', see Log.txt");

    EXPECT_EQ(loadDontUseTitles(folders, messages),
              (std::vector<std::string>{"Dreadful Repaint", "Dreadful Repaint"}));
    EXPECT_TRUE(logged.contains("    2 don't use titles read"));
    EXPECT_FALSE(fs::exists(folders.input / "AIG-regcodes.xml"));
}

TEST_F(RegcodesTest, AShippedListThatIsNoListChangesNothing) {
    for (const std::string& content :
         {std::string("<root><other/></root>"), std::string("<root")}) {
        const fs::path plain = folder / "plain.xml";
        test::writeFile(plain, content);
        data::streamEncrypt(data::programKey(), plain, folders.input / "AIG-regcodes.enc");
        applyOfflineRegcodes(index, installed, folders, messages);
        EXPECT_EQ(index.size(), 0u) << content;
    }
    EXPECT_TRUE(logged.contains("No <aig> node found in XML."));
    EXPECT_TRUE(logged.contains("Failed to load " + (folders.input / "AIG-regcodes.xml").string()));
}

}  // namespace
}  // namespace corv::liveries
