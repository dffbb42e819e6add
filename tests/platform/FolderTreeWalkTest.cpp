#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/FolderTreeWalk.hpp"
#include "support/TempFolder.hpp"

namespace corv::platform {
namespace {

namespace fs = std::filesystem;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

std::string kindText(EntryKind kind) {
    switch (kind) {
        case EntryKind::Directory:
            return "dir";
        case EntryKind::RegularFile:
            return "file";
        default:
            return "other";
    }
}

TEST(FolderTreeWalk, VisitsEveryEntryOnceWithLinksAsWhatTheyPointTo) {
    test::TempFolder folder;
    const fs::path root = folder.path();
    fs::create_directories(root / "a" / "deep");
    fs::create_directories(root / "skipped");
    std::ofstream(root / "a" / "deep" / "x.bgl") << "x";
    std::ofstream(root / "skipped" / "hidden.bgl") << "x";
    fs::create_symlink(root / "a" / "deep" / "x.bgl", root / "linked.bgl");
    fs::create_symlink(root / "a", root / "loop");
    fs::create_symlink(root / "missing", root / "dangling");

    std::vector<std::string> seen;
    walkFolderTree(root.string() + "/", [&](const std::string& path, EntryKind kind) {
        const std::string relative = path.substr(root.string().size() + 1);
        // A folder's contents come right after it.
        if (relative.starts_with("a/")) {
            EXPECT_THAT(seen, ::testing::Contains("dir a")) << relative;
        }
        seen.push_back(kindText(kind) + " " + relative);
        return relative != "skipped";
    });
    // The linked folder is told as a folder but not entered, so "a" is walked once.
    EXPECT_THAT(seen,
                UnorderedElementsAre("dir a", "dir a/deep", "file a/deep/x.bgl", "dir skipped",
                                     "file linked.bgl", "dir loop", "other dangling"));

    std::vector<std::string> none;
    walkFolderTree((root / "absent").string(), [&](const std::string& path, EntryKind) {
        none.push_back(path);
        return true;
    });
    EXPECT_THAT(none, IsEmpty());
}

}  // namespace
}  // namespace corv::platform
