#pragma once

#include <filesystem>

namespace corv::platform {

// Opens a file or folder with the desktop's associated program (xdg-open) and returns at once,
// without waiting for it. True when the opener was started; false when there is no desktop
// opener or it could not be started. Never throws.
bool openWithDesktop(const std::filesystem::path& absolutePath) noexcept;

}  // namespace corv::platform
