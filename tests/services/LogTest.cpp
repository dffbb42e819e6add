#include <gtest/gtest.h>

#include <limits>
#include <regex>
#include <stdexcept>

#include "services/Log.hpp"
#include "services/SocketErrorText.hpp"
#include "services/TimeText.hpp"
#include "support/LogCapture.hpp"

namespace corv::services {
namespace {

TEST(Log, FourStartsKeepThreeGenerations) {
    test::TempFolder folder;
    const auto logFile = folder / "Log.txt";
    for (int start = 1; start <= 4; ++start) {
        openLog(logFile);
        log("start {}", start);
        closeLog();
        EXPECT_EQ(std::filesystem::exists(folder / "Log0.txt"), start >= 2);
        EXPECT_EQ(std::filesystem::exists(folder / "Log00.txt"), start >= 3);
        EXPECT_EQ(std::filesystem::exists(folder / "Log000.txt"), start >= 4);
    }
    const auto lastLine = [](const std::filesystem::path& path) {
        return test::splitLines(test::readFile(path)).back();
    };
    EXPECT_EQ(lastLine(logFile), "start 4");
    EXPECT_EQ(lastLine(folder / "Log0.txt"), "start 3");
    EXPECT_EQ(lastLine(folder / "Log00.txt"), "start 2");
    EXPECT_EQ(lastLine(folder / "Log000.txt"), "start 1");
}

TEST(Log, HeaderMarkedLinesAndNothingWhileClosed) {
    test::TempFolder folder;
    openLog(folder / "Log.txt");
    logMarked("copy {} -> {} failed: {}", "a", "b", "denied");
    log("plain");
    closeLog();
    log("after close");

    const std::string text = test::readFile(folder / "Log.txt");
    const auto lines = test::splitLines(text);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(std::regex_match(
        lines[0], std::regex(R"([A-Z][a-z]{2} [A-Z][a-z]{2} \d\d \d\d:\d\d:\d\d \d{4} \(utc\) )"
                             R"(Corvane_P3D version 12\.6\.0 for Prepar3D v5/v6)")))
        << lines[0];
    EXPECT_EQ(lines[1], "==> copy a -> b failed: denied");
    EXPECT_EQ(lines[2], "plain");
    EXPECT_EQ(text.find('\r'), std::string::npos);
}

TEST(Log, UnwritableLogFileStopsTheStart) {
    test::TempFolder folder;
    try {
        openLog(folder / "missing" / "Log.txt");
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Failed to write file " + (folder / "missing" / "Log.txt").string());
    }
}

TEST(TimeText, FormatsUtcWithTheProgramsMonthNames) {
    struct Case {
        std::int64_t unixSeconds;
        const char* text;
    };
    const Case cases[] = {
        {0, "Thu Jan 01 00:00:00 1970"},
        {1791510790, "Fri Okt 09 01:53:10 2026"},  // October is "Okt"
        {1796608390, "Mon Dec 07 01:53:10 2026"},
        {1796521990, "Sun Dec 06 01:53:10 2026"},
        {951782400, "Tue Feb 29 00:00:00 2000"},
        {-1, "Wed Dec 31 23:59:59 1969"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unixSeconds);
        EXPECT_EQ(timeText(c.unixSeconds), c.text);
    }
    EXPECT_EQ(timeText(std::numeric_limits<std::int64_t>::max()), "Invalid time");
    EXPECT_EQ(monthName(13), "???");
}

TEST(TimeText, ClockTextIsTheTimeOfDay) {
    EXPECT_TRUE(std::regex_match(clockText(), std::regex(R"(\d\d:\d\d:\d\d)"))) << clockText();
}

TEST(Log, BannersCentreTheirText) {
    EXPECT_EQ(bannerText("parameters", 0), "parameters");
    EXPECT_EQ(bannerText("", 70), std::string(80, '*'));
    EXPECT_EQ(bannerText("scan", 10), "******* scan *******");
    EXPECT_EQ(bannerText("odd", 10), "******* odd ********");  // always the full width
}

TEST(SocketErrorText, CodeAndDescription) {
    EXPECT_EQ(socketErrorText(10054), "10054 Connection reset by peer");
    EXPECT_EQ(socketErrorText(10004), "10004 Interrupted system call");
    EXPECT_EQ(socketErrorText(11004), "11004 No host data of that type was found");
    EXPECT_EQ(socketErrorText(10040), "10040 Messenger too long");
    EXPECT_EQ(socketErrorText(42), "42 Unknown errror code");
}

}  // namespace
}  // namespace corv::services
