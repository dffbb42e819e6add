#include "platform/Registry.hpp"

namespace corv::platform {

bool registryKeyExists(std::string_view) {
    return false;
}

std::optional<std::string> readRegistryString(std::string_view, std::string_view) {
    return std::nullopt;
}

}  // namespace corv::platform
