#include "scan/ScanFoldersRun.hpp"

#include <fmt/format.h>

#include "common/UpperCase.hpp"
#include "scan/OfflineLearning.hpp"
#include "scan/ZipFolder.hpp"
#include "services/FileHelpers.hpp"
#include "services/Log.hpp"

namespace corv::scan {
namespace {

namespace fs = std::filesystem;

// Where the collected airport files are to be mailed.
constexpr std::string_view makerSupportAddress = "support@corvane.example";
constexpr std::size_t reservedMessages = 2048;

bool insideStock(const fs::path& folder, const std::string& stockScenery) {
    return !stockScenery.empty() && common::upperCase(folder.string())
                                            .find(common::upperCase(stockScenery)) !=
                                        std::string::npos;
}

void scanOneFolder(const fs::path& folder, const FolderWalk& walk, const ScanDisplay& display,
                   ScanMessages& messages) {
    const fs::file_status status = fs::status(folder);  // a failing query throws
    if (!fs::exists(status)) {
        display.showMessage(folder.string() + " does not exist, skipped!");
    } else if (fs::is_directory(status)) {
        if (!insideStock(folder, walk.stockScenery)) scanFolderTree(folder, walk, messages);
    } else {
        display.showMessage(folder.string() + " is not a folder name, skipped!");
    }
}

// Only the zip stays in the collection folder.
void removeCollectedFiles(const fs::path& folder) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (entry.is_regular_file(error) &&
            common::upperCase(entry.path().extension().string()) == ".XML")
            fs::remove(entry.path(), error);
    }
}

}  // namespace

bool scanFolders(const std::vector<fs::path>& folders, const ScanPaths& paths,
                 const FolderWalk& walk, const ScanDisplay& display,
                 const std::function<bool(const common::FixedCode<4>&)>& isRtSupported,
                 ScanMessages& messages, std::int64_t& mailCount) {
    services::log("The scan will search {} folder{}", folders.size(), folders.size() == 1 ? "" : "s");
    std::error_code removeError;
    fs::remove(paths.scanLog(), removeError);
    if (removeError)
        services::log("problems with removing previous files (maybe still open?): {}",
                      removeError.message());
    mailCount = 0;
    if (messages.capacity() < reservedMessages) messages.reserve(reservedMessages);

    for (const fs::path& folder : folders)
        if (!folder.empty()) scanOneFolder(folder, walk, display, messages);

    messages.push_back("\nAirpoprts scan finished!");
    fs::create_directories(paths.scanLog().parent_path());
    writeScanLog(paths.scanLog(), messages);
    services::log("{} written", paths.scanLog().string());
    display.clearMessage();
    messages.clear();

    collectForOfflineLearning(paths.thirdPartyFolder(), paths.collectionFolder(), isRtSupported);
    const std::size_t collected = services::countFolderEntries(paths.collectionFolder());
    if (collected > 0) {
        const fs::path zip = paths.collectionFolder() / "tblo.zip";
        if (!zipFolder(paths.collectionFolder(), zip)) services::logMarked("Zippen TBLO folder failed");
        removeCollectedFiles(paths.collectionFolder());
        mailCount = static_cast<std::int64_t>(collected);
        display.showMailRequest(mailCount);
        services::log("");
        services::log("! Mail {} to {}", zip.string(), makerSupportAddress);
        services::log("");
    } else {
        services::log("All your simaddon and third party airports are recognised, no off line "
                      "learning needed.");
    }
    const std::size_t thirdParty = services::countFolderEntries(paths.thirdPartyFolder());
    display.showAddonCounts(services::countFolderEntries(paths.orbxFolder()), thirdParty);
    return thirdParty > 0;
}

}  // namespace corv::scan
