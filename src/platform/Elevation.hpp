#pragma once

namespace corv::platform {

// True when the process runs with administrator rights granted by elevation. This platform
// has no elevation: never.
bool processIsElevated() noexcept;

}  // namespace corv::platform
