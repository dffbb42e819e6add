#pragma once

#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

namespace corv::data {

inline constexpr std::string_view administratorNotice =
    "A new version is available. Run the installer as Administrator";
inline constexpr std::string_view plainNotice =
    "A new version is available.\nThe installer can be executed normally (no Administrator "
    "rights required).";

// The installer needs administrator rights when the program sits below a Program Files folder
// (a plain prefix of the path texts), the program folder cannot be written and the process is
// not elevated. canWrite is asked only when the other two hold.
bool installerNeedsAdministrator(const std::filesystem::path& programFolder,
                                 const std::vector<std::filesystem::path>& programFilesFolders,
                                 bool elevated, const std::function<bool()>& canWrite);

// Whether one byte can be written to a fresh ".write_test.tmp" in the folder (removed again).
bool canWriteIn(const std::filesystem::path& folder);

}  // namespace corv::data
