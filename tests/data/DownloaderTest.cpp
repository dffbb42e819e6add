#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <fmt/format.h>

#include "data/DownloadSite.hpp"
#include "data/UpdateSiteFixture.hpp"

namespace corv::data {
namespace {

namespace fs = std::filesystem;

using DownloaderTest = test::UpdateSiteFixture;

std::size_t entriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST_F(DownloaderTest, WholeFileReplacesTheTarget) {
    const std::string body(300000, 's');  // several writes and progress calls
    publish("downloads/P3D/archive/stock/EHAM.xml", body);
    test::writeFile(install / "EHAM.xml", "old");

    EXPECT_TRUE(site.download("downloads/P3D/archive/stock/EHAM.xml", install / "EHAM.xml"));
    EXPECT_EQ(test::readFile(install / "EHAM.xml"), body);
    EXPECT_EQ(entriesIn(install.path()), 2u);  // input/ and the file: no temporary left
}

TEST_F(DownloaderTest, FailedOrCutTransferLeavesTheTargetAsItWas) {
    publish("downloads/cut.bin", std::string(100000, 'c'));
    server.cutShort("downloads/cut.bin", 1000);
    struct Case {
        const char* sitePath;
        const char* curlText;
    };
    for (const Case& c : {Case{"downloads/missing.bin", "HTTP response code said error"},
                          Case{"downloads/cut.bin", "Transferred a partial file"}}) {
        SCOPED_TRACE(c.sitePath);
        const fs::path target = install / "input" / "file.bin";
        test::writeFile(target, "old");

        EXPECT_FALSE(site.download(c.sitePath, target));
        EXPECT_EQ(test::readFile(target), "old");
        EXPECT_EQ(entriesIn(install / "input"), 1u);
        EXPECT_TRUE(logged.contains(
            fmt::format("Download error: '{}' for {}", c.curlText, site.addressOf(c.sitePath))));
    }
}

TEST_F(DownloaderTest, ClosedWindowAbortsTheTransfer) {
    publish("downloads/big.bin", std::string(5000000, 'b'));
    test::writeFile(install / "big.bin", "old");
    windowClosed = true;

    EXPECT_FALSE(site.download("downloads/big.bin", install / "big.bin"));
    EXPECT_EQ(test::readFile(install / "big.bin"), "old");
}

TEST_F(DownloaderTest, TargetThatCannotBeWrittenFailsBeforeAnyTransfer) {
    publish("downloads/file.bin", "x");
    const fs::path target = install / "no-such-folder" / "file.bin";

    EXPECT_FALSE(site.download("downloads/file.bin", target));
    EXPECT_TRUE(logged.contains("Could not open output file: " + target.string()));
    EXPECT_TRUE(server.requests().empty());
}

TEST(DownloadSiteTest, OverrideWinsAndEveryBaseEndsInASlash) {
    EXPECT_EQ(downloadSiteBase("http://127.0.0.1:8123"), "http://127.0.0.1:8123/");
    EXPECT_EQ(downloadSiteBase("http://127.0.0.1:8123/"), "http://127.0.0.1:8123/");
    const std::string configured = downloadSiteBase(nullptr);
    EXPECT_TRUE(configured.starts_with("https://")) << configured;
    EXPECT_EQ(downloadSiteBase(""), configured);
}

}  // namespace
}  // namespace corv::data
