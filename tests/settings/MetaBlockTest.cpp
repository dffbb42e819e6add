#include <gtest/gtest.h>

#include <regex>

#include <pugixml.hpp>

#include "settings/MetaBlock.hpp"
#include "support/LogCapture.hpp"

namespace corv::settings {
namespace {

TEST(MetaBlock, WrittenInOrderAndReadBack) {
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("root");
    ASSERT_TRUE(writeMeta(root, "1.2", 1));
    ASSERT_TRUE(writeMeta(root, "1.3", 3));  // rewriting replaces, never duplicates

    std::vector<std::string> names;
    for (pugi::xml_node info : root.child("meta").children("info")) {
        names.push_back(info.attribute("name").as_string());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"author", "version", "date", "copyright", "sim"}));

    const MetaInfo meta = readMeta(root);
    EXPECT_EQ(meta.author, "Corvane_P3D");
    EXPECT_EQ(meta.version, "1.3");
    EXPECT_EQ(meta.sim, "3");
    EXPECT_FALSE(meta.copyright.empty());
    EXPECT_TRUE(std::regex_match(meta.date, std::regex(R"([A-Z][a-z]{2} \d\d, \d{4})")))
        << meta.date;
}

TEST(MetaBlock, MissingCopyrightIsLogged) {
    test::LogCapture logged;
    pugi::xml_document document;
    document.load_string("<root><meta><info name=\"author\" value=\"someone\"/></meta></root>");
    EXPECT_EQ(readMeta(document.child("root")).author, "someone");
    EXPECT_EQ(logged.lines(), std::vector<std::string>{"==> no copyright info in the file?"});
}

}  // namespace
}  // namespace corv::settings
