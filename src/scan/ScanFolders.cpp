#include "scan/ScanFolders.hpp"

#include <fmt/format.h>

#include "common/ProgramIdentity.hpp"
#include "common/UserErrorException.hpp"
#include "services/Log.hpp"

namespace corv::scan {

std::vector<std::filesystem::path> collectScanFolders(const std::vector<FolderSetting>& settings,
                                                      const std::string& stockScenery) {
    std::vector<std::filesystem::path> folders;
    for (const FolderSetting& setting : settings) {
        if (setting.value.empty()) continue;
        if (!stockScenery.empty() && setting.value.find(stockScenery) != std::string::npos)
            throw UserErrorException(
                42, fmt::format("parameter {} points to stock airports instead of add-on airports!",
                                setting.name));
        services::log("From parameter {}: {}", setting.name, setting.value);
        folders.emplace_back(setting.value);
    }
    return folders;
}

void throwNoScanFolders() {
    throw UserErrorException(
        49, fmt::format("Exit {} first!   Then set one or more afolder parameters to your add-on "
                        "airports, see Manual 6.2",
                        programName));
}

}  // namespace corv::scan
