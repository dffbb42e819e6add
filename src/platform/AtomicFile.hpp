#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace corv::platform {

// Replaces a file's content so that a crash or power loss at any moment leaves either the
// old or the new content, never a mix: the bytes go to a temporary file in the same folder,
// are flushed to the disk, and the temporary file is renamed over the target.
// Returns an empty text on success, else the system's description of the failure.
std::string replaceFileAtomically(const std::filesystem::path& target, std::string_view content);

}  // namespace corv::platform
