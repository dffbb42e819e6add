#include "platform/Elevation.hpp"

namespace corv::platform {

bool processIsElevated() noexcept {
    return false;
}

}  // namespace corv::platform
