#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "services/TextFile.hpp"
#include "support/TempFolder.hpp"

namespace corv::services {
namespace {

using Lines = std::vector<std::string>;

std::string utf8FileWithTwoByteCharacterAt(std::size_t offset) {
    return std::string(offset, 'a') + "\xC3\xA9" + "tail";
}

TEST(TextFile, DetectsTheCharset) {
    struct Case {
        const char* name;
        std::string bytes;
        Charset expected;
    };
    const Case cases[] = {
        {"empty", "", Charset::Utf8WithoutBom},
        {"ascii", "[fltsim.0]\r\ntitle=Boeing\r\n", Charset::Utf8WithoutBom},
        {"utf8", "title=A\xC3\xA9roport\n", Charset::Utf8WithoutBom},
        {"bom", "\xEF\xBB\xBFtitle=x\n", Charset::Utf8WithBom},
        {"utf16le mark", std::string("\xFF\xFEt\0i\0", 6), Charset::Unicode},
        {"utf16be mark", std::string("\xFE\xFF\0t\0i", 6), Charset::UnicodeBigEndian},
        {"utf16le bare", std::string("t\0i\0t\0", 6), Charset::Unicode},
        {"utf16be bare", std::string("\0t\0i\0t", 6), Charset::UnicodeBigEndian},
        {"latin1", "title=A\xE9roport\n", Charset::Ansi},
        {"overlong E0", "x\xE0\x80\x80", Charset::Ansi},
        {"above F4", "x\xF4\x90\x80\x80", Charset::Ansi},
        {"cut at end of file", "abcd\xC3", Charset::Ansi},
        {"two-byte char inside the sample", utf8FileWithTwoByteCharacterAt(4094),
         Charset::Utf8WithoutBom},
        // The lead byte is the 4096th byte: its continuation lies outside the sample.
        {"two-byte char at byte 4096", utf8FileWithTwoByteCharacterAt(4095), Charset::Ansi},
        {"invalid beyond the sample", std::string(5000, 'a') + "\xFF", Charset::Utf8WithoutBom},
    };
    test::TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto file = folder / "aircraft.cfg";
        test::writeFile(file, c.bytes);
        EXPECT_EQ(charsetName(detectCharset(file)), charsetName(c.expected));
    }
    EXPECT_EQ(detectCharset(folder / "absent.cfg"), Charset::NoneFound);
}

TEST(TextFile, ReadsLinesOfEveryEncodingAsUtf8) {
    struct Case {
        const char* name;
        std::string bytes;
        Lines expected;
    };
    const Case cases[] = {
        {"crlf", "[fltsim.0]\r\ntitle=x\r\n\r\nlast", {"[fltsim.0]", "title=x", "", "last"}},
        {"bom removed", "\xEF\xBB\xBFtitle=x\nb", {"title=x", "b"}},
        {"utf16le", std::string("\xFF\xFEh\0\xE9\0\r\0\n\0x\0", 12), {"h\xC3\xA9", "x"}},
        {"utf16be", std::string("\xFE\xFF\0h\0\n\xD8\x3D\xDE\x00", 10), {"h", "\xF0\x9F\x98\x80"}},
        {"utf16 without mark", std::string("h\0i\0", 4), {}},
        {"utf16 odd length", std::string("\xFF\xFEh\0i", 5), {}},
        {"ansi passed through", "A\xE9roport", {"A\xE9roport"}},
    };
    test::TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto file = folder / "aircraft.cfg";
        test::writeFile(file, c.bytes);
        Lines lines{"stale"};
        EXPECT_TRUE(readLines(detectCharset(file), file, lines));
        EXPECT_EQ(lines, c.expected);
    }
}

TEST(TextFile, ReadFailuresAndBadInput) {
    test::TempFolder folder;
    Lines lines{"stale"};
    EXPECT_FALSE(readLines(Charset::Utf8WithoutBom, folder / "absent.cfg", lines));
    EXPECT_TRUE(lines.empty());

    const auto file = folder / "aircraft.cfg";
    test::writeFile(file, "x");
    try {
        readLines(Charset::NoneFound, file, lines);
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "file " + file.string() + " has unknown charset: none_found");
    }

    test::writeFile(file, std::string("\xFF\xFE\x00\xDC", 4));  // a lone low surrogate
    EXPECT_THROW(readLines(Charset::Unicode, file, lines), std::runtime_error);
}

}  // namespace
}  // namespace corv::services
