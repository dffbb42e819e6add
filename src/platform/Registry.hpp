#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corv::platform {

// Local-machine registry, 64-bit view. This platform has no registry: every key is absent.
bool registryKeyExists(std::string_view keyPath);
std::optional<std::string> readRegistryString(std::string_view keyPath, std::string_view valueName);

}  // namespace corv::platform
