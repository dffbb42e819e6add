#include "services/Folders.hpp"

#include <array>
#include <string_view>
#include <system_error>

#include "common/ProgramIdentity.hpp"
#include "platform/KnownFolders.hpp"
#include "services/FileHelpers.hpp"
#include "services/Log.hpp"

namespace corv::services {

namespace fs = std::filesystem;

namespace {
constexpr std::array<std::string_view, 11> workingFolders = {
    "output",
    "output/info",
    "output/errors",
    "airports",
    "airports/learned",
    "airports/learned/stock",
    "airports/learned/simaddon",
    "airports/learned/thirdparty",
    "airports/my_ORBX",
    "airports/my_thirdparty",
    "input/my_regcodes",
};
}  // namespace

fs::path appDataPath() {
    if (auto folder = platform::roamingAppDataFolder()) return *folder;
    logMarked("Could not find the AppData path");
    return {};
}

fs::path programDataFolder() {
    const fs::path base = appDataPath();
    return base.empty() ? fs::path() : base / programName;
}

void createFolderTree(const fs::path& installFolder) {
    for (std::string_view name : workingFolders) {
        const fs::path folder = installFolder / name;
        std::error_code ec;
        const fs::file_status status = fs::status(folder, ec);
        if (ec && ec != std::errc::no_such_file_or_directory) {
            throw fs::filesystem_error("status", folder, ec);
        }
        if (!fs::exists(status)) fs::create_directories(folder);
    }
    removeFileWarn(installFolder / "output" / "info" / "ObjectIdList.txt");
}

}  // namespace corv::services
