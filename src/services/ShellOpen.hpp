#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

namespace corv::services {

// Shows a warning box (caption, text) to the user; the window system provides it.
using WarningBox = std::function<void(std::string_view caption, std::string_view text)>;

// Opens an existing file or folder with the desktop's associated program. When that is not
// possible the user sees failureText in a warning box captioned "Corvane".
bool shellOpen(const std::filesystem::path& path, std::string_view failureText,
               const WarningBox& warn);

// "docs/Manual.pdf" below the installation folder.
bool openManual(const std::filesystem::path& installFolder, const WarningBox& warn);

// The program data folder that holds parameters.xml.
bool openParametersFolder(const WarningBox& warn);

}  // namespace corv::services
