#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "common/UserErrorException.hpp"
#include "data/EncryptedFile.hpp"
#include "liveries/DbaseXml.hpp"
#include "liveries/ReferenceData.hpp"
#include "support/LogCapture.hpp"
#include "support/TempFolder.hpp"

namespace corv::liveries {
namespace {

namespace fs = std::filesystem;

class ReferenceDataLoadTest : public ::testing::Test {
  protected:
    void writeEncrypted(const std::string& text) {
        test::writeFile(source / "dbase.xml", text);
        data::streamEncrypt(data::programKey(), source / "dbase.xml", input / "dbase.enc");
    }
    bool plainLeftBehind() const { return fs::exists(input / "dbase.xml"); }

    test::LogCapture logged;
    test::TempFolder source;
    test::TempFolder input;
    ReferenceData data;
};

TEST_F(ReferenceDataLoadTest, ReadsTheEncryptedFileAndDeletesThePlainOne) {
    test::DbaseXml xml;
    xml.sections["dbase"] = R"(<d r="PH-BXA" a="KLM" m="B738"/>)";
    writeEncrypted(xml.text());
    ASSERT_TRUE(data.load(input.path()));
    EXPECT_NE(data.dbaseRecord("PH-BXA"), nullptr);
    EXPECT_FALSE(plainLeftBehind());
    EXPECT_TRUE(fs::exists(input / "dbase.enc"));
}

TEST_F(ReferenceDataLoadTest, AFileThatDoesNotParseIsLoggedAndDeleted) {
    writeEncrypted("<root><aircrafts>");
    EXPECT_FALSE(data.load(input.path()));
    EXPECT_FALSE(plainLeftBehind());
    const auto lines = logged.lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_TRUE(lines.back().starts_with(
        fmt::format("==> '{}' not read because of ", (input / "dbase.xml").string())))
        << lines.back();
}

TEST_F(ReferenceDataLoadTest, AStructuralErrorStillDeletesThePlainFile) {
    test::DbaseXml xml;
    xml.sections.erase("simaddonsP3D");  // the last required section
    writeEncrypted(xml.text());
    try {
        data.load(input.path());
        FAIL() << "no user error";
    } catch (const UserErrorException& e) {
        EXPECT_EQ(e.code(), 61);
        EXPECT_EQ(e.message(), "Missing section: simaddonsP3D");
    }
    EXPECT_FALSE(plainLeftBehind());
}

TEST_F(ReferenceDataLoadTest, AMissingOrUndecryptableFileIsARuntimeError) {
    const std::string encrypted = (input / "dbase.enc").string();
    test::writeFile(input / "dbase.xml", "<root/>");  // left by a run that ended early
    try {
        data.load(input.path());
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), encrypted + " not available");
    }
    EXPECT_FALSE(plainLeftBehind());

    test::writeFile(input / "dbase.enc", std::string(200, 'x'));
    try {
        data.load(input.path());
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), encrypted + " stream decrypt failed");
    }
    EXPECT_FALSE(plainLeftBehind());
}

}  // namespace
}  // namespace corv::liveries
