#include "platform/KnownFolders.hpp"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace corv::platform {

namespace {
std::optional<std::filesystem::path> absoluteFromEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] == '\0') return std::nullopt;
    std::filesystem::path path(value);
    // Relative values are invalid by the XDG rules and are ignored.
    if (!path.is_absolute()) return std::nullopt;
    return path;
}
}  // namespace

std::optional<std::filesystem::path> roamingAppDataFolder() {
    if (auto config = absoluteFromEnv("XDG_CONFIG_HOME")) return config;
    if (auto home = absoluteFromEnv("HOME")) return *home / ".config";
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        return std::filesystem::path(entry->pw_dir) / ".config";
    }
    return std::nullopt;
}

std::vector<std::filesystem::path> programFilesFolders() {
    return {};
}

}  // namespace corv::platform
