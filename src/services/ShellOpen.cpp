#include "services/ShellOpen.hpp"

#include <system_error>

#include "platform/ShellOpen.hpp"
#include "services/Folders.hpp"

namespace corv::services {

namespace fs = std::filesystem;

bool shellOpen(const fs::path& path, std::string_view failureText, const WarningBox& warn) {
    std::error_code ec;
    bool opened = false;
    if (!path.empty() && fs::exists(path, ec)) {
        const fs::path absolute = fs::absolute(path, ec);
        opened = !ec && platform::openWithDesktop(absolute);
    }
    if (!opened) warn("Corvane", failureText);
    return opened;
}

bool openManual(const fs::path& installFolder, const WarningBox& warn) {
    return shellOpen(installFolder / "docs" / "Manual.pdf",
                     "Could not open local folder with Manual", warn);
}

bool openParametersFolder(const WarningBox& warn) {
    return shellOpen(programDataFolder(), "Could not open folder with parameters.xml", warn);
}

}  // namespace corv::services
