#include "app/SimulatorInstall.hpp"

#include <algorithm>

#include <fmt/format.h>

#include "common/UserErrorException.hpp"
#include "platform/Registry.hpp"
#include "services/Log.hpp"
#include "services/MessageLine.hpp"
#include "settings/ParameterTable.hpp"
#include "settings/SettingsFile.hpp"

namespace corv::app {

namespace {
std::string registryKey(int majorVersion) {
    return fmt::format("SOFTWARE\\Lockheed Martin\\Prepar3D v{}", majorVersion);
}

bool anyFolderConfigured() {
    const auto configured = [](const settings::HiddenText& folder) {
        return !folder.value().empty();
    };
    return std::any_of(settings::lfolder.begin(), settings::lfolder.end(), configured) ||
           std::any_of(settings::afolder.begin(), settings::afolder.end(), configured);
}

[[noreturn]] void throwNoInstallPath(status::ControlStates& controls) {
    settings::ALL_INSTALL_PATH.setCurrent("");
    settings::ALL_INSTALL_PATH.showCurrent(controls);
    throw UserErrorException(
        151, "No P3D install path detected. Type the full Install Path above, then press Enter");
}
}  // namespace

bool keyExists(int majorVersion) {
    return platform::registryKeyExists(registryKey(majorVersion));
}

std::string readSetupPath(int majorVersion) {
    return platform::readRegistryString(registryKey(majorVersion), "SetupPath").value_or("");
}

void detectSimulator(services::MessageLine& messages, settings::SettingsFile& settings,
                     status::ControlStates& controls) {
    const int detected = (keyExists(6) ? 6 : 0) + (keyExists(5) ? 5 : 0);
    if (detected > 6) {
        throw UserErrorException(153,
                                 "More than one P3D version detected. Type the full Install Path "
                                 "to the wanted version above, then press Enter");
    }
    if (detected == 0) {
        messages.showMessage("P3D not detected?", true);
        // Users without the simulator's registry entries can work with configured folders.
        if (anyFolderConfigured()) return;
        throwNoInstallPath(controls);
    }
    services::log("P3Dv{} detected", detected);
    const std::string path = readSetupPath(detected);
    if (path.empty()) throwNoInstallPath(controls);
    settings::ALL_INSTALL_PATH.setCurrent(path);
    settings::ALL_INSTALL_PATH.showCurrent(controls);
    settings::SIM_INSTALL_PATH.setCurrent(path);
    settings.saveText(settings::SIM_INSTALL_PATH);
}

std::string simMajorVersionText() {
    const std::string path = settings::SIM_INSTALL_PATH.value();
    if (path.size() >= 2) {
        for (const auto& [marker, major] : {std::pair{"v5", "5"}, std::pair{"V5", "5"},
                                            std::pair{"v6", "6"}, std::pair{"V6", "6"}}) {
            if (path.find(marker) != std::string::npos) return major;
        }
    }
    return std::to_string(settings::P3D_VERSION.value());
}

}  // namespace corv::app
