#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>

#include <iterator>

#include "platform/AtomicFile.hpp"
#include "platform/KnownFolders.hpp"
#include "platform/SingleInstanceLock.hpp"
#include "platform/SocketErrors.hpp"
#include "support/TempFolder.hpp"

namespace corv::platform {
namespace {

TEST(SingleInstanceLock, SecondHolderIsRefusedUntilTheFirstReleases) {
    test::TempFolder folder;
    const auto lockFile = folder / "sub" / "instance.lock";
    {
        SingleInstanceLock first;
        ASSERT_TRUE(first.tryAcquire(lockFile));
        SingleInstanceLock second;
        EXPECT_FALSE(second.tryAcquire(lockFile));
        EXPECT_FALSE(second.held());
    }
    SingleInstanceLock later;
    EXPECT_TRUE(later.tryAcquire(lockFile));
}

TEST(KnownFolders, RoamingFolderFollowsXdgThenHome) {
    const std::string savedXdg =
        std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";

    setenv("XDG_CONFIG_HOME", "/tmp/xdg-here", 1);
    EXPECT_EQ(roamingAppDataFolder(), std::filesystem::path("/tmp/xdg-here"));
    setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    setenv("HOME", "/home/pilot", 1);
    EXPECT_EQ(roamingAppDataFolder(), std::filesystem::path("/home/pilot/.config"));
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(roamingAppDataFolder(), std::filesystem::path("/home/pilot/.config"));

    setenv("HOME", savedHome.c_str(), 1);
    if (savedXdg.empty())
        unsetenv("XDG_CONFIG_HOME");
    else
        setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
}

TEST(AtomicFile, ReplacesContentAndReportsFailures) {
    test::TempFolder folder;
    const auto file = folder / "settings.xml";
    test::writeFile(file, "old content that is longer");
    EXPECT_EQ(replaceFileAtomically(file, "new"), "");
    EXPECT_EQ(test::readFile(file), "new");
    // Only the target remains: no temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_NE(replaceFileAtomically(folder / "missing" / "x.xml", "x"), "");
}

TEST(SocketErrors, SystemErrorsMapToTheSocketCodeTable) {
    EXPECT_EQ(socketErrorCode(ECONNRESET), 10054);
    EXPECT_EQ(socketErrorCode(ECONNREFUSED), 10061);
    EXPECT_EQ(socketErrorCode(EADDRINUSE), 10048);
    EXPECT_EQ(socketErrorCode(EWOULDBLOCK), 10035);
    EXPECT_EQ(socketErrorCode(ETIMEDOUT), 10060);
    EXPECT_EQ(socketErrorCode(123456), 123456);
}

}  // namespace
}  // namespace corv::platform
