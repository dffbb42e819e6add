#pragma once

#include <filesystem>

namespace corv::platform {

// Opens a file or folder with the desktop's associated program (xdg-open). True when the
// opener reported success; false when there is no desktop opener or it failed. Never throws.
bool openWithDesktop(const std::filesystem::path& absolutePath) noexcept;

}  // namespace corv::platform
