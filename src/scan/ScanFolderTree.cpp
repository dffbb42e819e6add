#include "scan/ScanFolderTree.hpp"

#include <array>
#include <string_view>

#include <fmt/format.h>

#include "common/UpperCase.hpp"

namespace corv::scan {
namespace {

bool insideStockScenery(const std::filesystem::path& path, const std::string& stockScenery) {
    return !stockScenery.empty() &&
           common::upperCase(path.string()).find(common::upperCase(stockScenery)) !=
               std::string::npos;
}

bool isBglFile(const std::filesystem::directory_entry& entry) {
    return entry.is_regular_file() &&
           common::upperCase(entry.path().extension().string()) == ".BGL";
}

}  // namespace

bool isExcludedSceneryPath(const std::string& path) {
    static constexpr std::array<std::string_view, 6> excluded{
        "statics", "_heliports", "duijffmedia-eham-remove", "immersivelights", "immersive-lights",
        "bksq-scenery-"};
    for (std::string_view part : excluded)
        if (path.find(part) != std::string::npos) return true;
    return false;
}

void scanFolderTree(const std::filesystem::path& folder, const FolderWalk& walk,
                    ScanMessages& messages) {
    const std::string banner =
        fmt::format("\n***** Scanning for {} airports in:\n{}\n", "addon", folder.string());
    walk.showMessage(banner);
    messages.push_back(banner);

    namespace fs = std::filesystem;
    std::error_code error;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied,
                                        error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        try {
            const fs::directory_entry& entry = *it;
            if (insideStockScenery(entry.path(), walk.stockScenery)) {
                it.disable_recursion_pending();
                continue;
            }
            const std::string path = entry.path().string();
            if (!isBglFile(entry) || isExcludedSceneryPath(path) || !walk.isAirportBgl(entry.path()))
                continue;
            if (walk.stopRequested()) return;
            walk.processBglFile(path);
        } catch (const std::exception& failure) {
            messages.push_back(fmt::format("{} airports search in folder {} aborted, cause: {}",
                                           "===> ", folder.string(), failure.what()));
        }
    }
}

}  // namespace corv::scan
