#pragma once

#include <chrono>
#include <functional>

namespace corv::services {

// Pauses the calling thread; tests pass one that only records, so waits cost no time.
using Sleeper = std::function<void(std::chrono::milliseconds)>;

}  // namespace corv::services
