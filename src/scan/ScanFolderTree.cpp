#include "scan/ScanFolderTree.hpp"

#include <array>
#include <string_view>
#include <vector>

#include <fmt/format.h>

#include "common/UpperCase.hpp"

namespace corv::scan {

namespace fs = std::filesystem;

namespace {

bool insideStockScenery(const fs::path& path, const std::string& upperStockScenery) {
    return !upperStockScenery.empty() &&
           common::upperCase(path.string()).find(upperStockScenery) != std::string::npos;
}

bool isBglFile(const fs::directory_entry& entry) {
    return entry.is_regular_file() &&
           common::upperCase(entry.path().extension().string()) == ".BGL";
}

std::string abortedText(const fs::path& folder, const std::exception& failure) {
    return fmt::format("{} airports search in folder {} aborted, cause: {}", "===> ",
                       folder.string(), failure.what());
}

// The scenery files below the folder that may hold airports, in the order the walk meets them.
std::vector<fs::path> sceneryFilesBelow(const fs::path& folder, const FolderWalk& walk,
                                        ScanMessages& messages) {
    std::vector<fs::path> files;
    const std::string upperStock = common::upperCase(walk.stockScenery);
    std::error_code error;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied,
                                        error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        try {
            const fs::directory_entry& entry = *it;
            if (insideStockScenery(entry.path(), upperStock)) {
                it.disable_recursion_pending();
                continue;
            }
            if (isBglFile(entry) && !isExcludedSceneryPath(entry.path().string()))
                files.push_back(entry.path());
        } catch (const std::exception& failure) {
            messages.push_back(abortedText(folder, failure));
        }
    }
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

    const std::vector<fs::path> files = sceneryFilesBelow(folder, walk, messages);
    std::vector<std::uint8_t> buffer;  // one for all files: most are read without an allocation
    for (std::size_t done = 0; done < files.size(); ++done) {
        try {
            if (const auto bytes = walk.readAirportBgl(files[done], buffer)) {
                if (walk.stopRequested()) return;
                walk.processBglFile(files[done].string(), *bytes);
            }
        } catch (const std::exception& failure) {
            messages.push_back(abortedText(folder, failure));
        }
        if (walk.progress) walk.progress(done + 1, files.size());
    }
}

}  // namespace corv::scan
