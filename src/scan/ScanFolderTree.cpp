#include "scan/ScanFolderTree.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>
#include <vector>

#include <fmt/format.h>

#include "common/UpperCase.hpp"
#include "platform/FolderTreeWalk.hpp"

namespace corv::scan {

namespace fs = std::filesystem;

namespace {

char upperAscii(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// Compared without a copy of the path: every entry of the tree is tested.
bool insideStockScenery(std::string_view path, std::string_view upperStockScenery) {
    if (upperStockScenery.empty()) return false;
    return std::search(path.begin(), path.end(), upperStockScenery.begin(), upperStockScenery.end(),
                       [](char inPath, char inStock) { return upperAscii(inPath) == inStock; }) !=
           path.end();
}

// A name with the extension ".bgl" in any letter case; a file named just ".bgl" has none.
bool isBglName(std::string_view path) {
    constexpr std::string_view extension = ".BGL";
    const std::size_t nameStart = path.rfind('/') + 1;  // 0 when there is no folder part
    if (path.size() - nameStart <= extension.size()) return false;
    const std::string_view end = path.substr(path.size() - extension.size());
    return std::equal(end.begin(), end.end(), extension.begin(),
                      [](char inPath, char wanted) { return upperAscii(inPath) == wanted; });
}

std::string abortedText(const fs::path& folder, const std::exception& failure) {
    return fmt::format("{} airports search in folder {} aborted, cause: {}", "===> ",
                       folder.string(), failure.what());
}

// The scenery files of one folder that the walk met one after the other.
struct SceneryFolder {
    std::string path;
    std::vector<std::string> names;
};

// The scenery files below the folder that may hold airports, in the order the walk meets them;
// files of a folder that follow each other share its entry.
std::vector<SceneryFolder> sceneryFilesBelow(const fs::path& folder, const FolderWalk& walk,
                                             ScanMessages& messages) {
    std::vector<SceneryFolder> folders;
    const std::string upperStock = common::upperCase(walk.stockScenery);
    // The excluded parts hold no "/": a path is excluded when its folder or its name is, and
    // the folder is looked at once for all its files.
    std::string lastParent;
    bool parentExcluded = false;
    platform::walkFolderTree(
        folder.string(), [&](const std::string& path, platform::EntryKind kind) {
            try {
                if (insideStockScenery(path, upperStock)) return false;
                if (kind != platform::EntryKind::RegularFile || !isBglName(path)) return true;
                const std::size_t slash = path.rfind('/');
                const std::string_view parent = std::string_view(path).substr(0, slash);
                const std::string_view name = std::string_view(path).substr(slash + 1);
                if (parent != lastParent) {
                    lastParent = parent;
                    parentExcluded = isExcludedSceneryPath(parent);
                }
                if (parentExcluded || isExcludedSceneryPath(name)) return true;
                if (folders.empty() || folders.back().path != parent)
                    folders.push_back({std::string(parent), {}});
                folders.back().names.emplace_back(name);
            } catch (const std::exception& failure) {
                messages.push_back(abortedText(folder, failure));
            }
            return true;
        });
    return folders;
}

}  // namespace

bool isExcludedSceneryPath(std::string_view path) {
    static constexpr std::array<std::string_view, 6> excluded{
        "statics",         "_heliports",       "duijffmedia-eham-remove",
        "immersivelights", "immersive-lights", "bksq-scenery-"};
    for (std::string_view part : excluded)
        if (path.find(part) != std::string::npos) return true;
    return false;
}

void scanFolderTree(const fs::path& folder, const FolderWalk& walk, ScanMessages& messages) {
    const std::string banner =
        fmt::format("\n***** Scanning for {} airports in:\n{}\n", "addon", folder.string());
    walk.showMessage(banner);
    messages.push_back(banner);

    const std::vector<SceneryFolder> folders = sceneryFilesBelow(folder, walk, messages);
    std::size_t total = 0;
    for (const SceneryFolder& found : folders)
        total += found.names.size();
    std::vector<std::uint8_t> buffer;  // one for all files: most are read without an allocation
    std::string path;
    std::size_t done = 0;
    for (const SceneryFolder& found : folders) {
        // Files right below the root have the empty text before their "/".
        const platform::OpenFolder opened(found.path.empty() ? "/" : found.path.c_str());
        for (const std::string& name : found.names) {
            path.assign(found.path).append("/").append(name);
            try {
                if (const auto bytes = walk.readAirportBgl({opened, name, path}, buffer)) {
                    if (walk.stopRequested()) return;
                    walk.processBglFile(path, *bytes);
                }
            } catch (const std::exception& failure) {
                messages.push_back(abortedText(folder, failure));
            }
            if (walk.progress) walk.progress(++done, total);
        }
    }
}

}  // namespace corv::scan
