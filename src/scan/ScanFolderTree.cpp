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

// The scenery files below the folder that may hold airports, in the order the walk meets them.
std::vector<std::string> sceneryFilesBelow(const fs::path& folder, const FolderWalk& walk,
                                           ScanMessages& messages) {
    std::vector<std::string> files;
    const std::string upperStock = common::upperCase(walk.stockScenery);
    platform::walkFolderTree(folder.string(),
                             [&](const std::string& path, platform::EntryKind kind) {
                                 try {
                                     if (insideStockScenery(path, upperStock)) return false;
                                     if (kind == platform::EntryKind::RegularFile &&
                                         isBglName(path) && !isExcludedSceneryPath(path))
                                         files.push_back(path);
                                 } catch (const std::exception& failure) {
                                     messages.push_back(abortedText(folder, failure));
                                 }
                                 return true;
                             });
    return files;
}

}  // namespace

bool isExcludedSceneryPath(const std::string& path) {
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

    const std::vector<std::string> files = sceneryFilesBelow(folder, walk, messages);
    std::vector<std::uint8_t> buffer;  // one for all files: most are read without an allocation
    for (std::size_t done = 0; done < files.size(); ++done) {
        try {
            if (const auto bytes = walk.readAirportBgl(files[done], buffer)) {
                if (walk.stopRequested()) return;
                walk.processBglFile(files[done], *bytes);
            }
        } catch (const std::exception& failure) {
            messages.push_back(abortedText(folder, failure));
        }
        if (walk.progress) walk.progress(done + 1, files.size());
    }
}

}  // namespace corv::scan
