#pragma once

#include <cstddef>
#include <filesystem>

namespace corv::services {

// Deletes the file when present; a failure is only logged as a warning.
void removeFileWarn(const std::filesystem::path& path);

// Deletes the regular files directly in the folder; failures are logged and skipped.
void gf_removeFilesFromDirectory(const std::filesystem::path& folder);

// Number of entries directly in the folder; 0 when the folder does not exist.
std::size_t countFolderEntries(const std::filesystem::path& folder);

}  // namespace corv::services
