#pragma once

#include <filesystem>

namespace corv::data {

// Moves the unpacked installer into its folder (created when missing) under the same file
// name, through a ".part" name whose size is checked before it gets the final name; an older
// installer there is replaced. Every failure is logged. True when the installer is in place.
bool moveInstaller(const std::filesystem::path& extracted,
                   const std::filesystem::path& targetFolder);

}  // namespace corv::data
