#pragma once

#include <atomic>

namespace corv::common {

// The traffic radius around the user in the forms the traffic logic uses.
struct TrafficRadius {
    std::atomic<double> nauticalMiles{40.0};
    std::atomic<int> metres{40 * 1852};
};

}  // namespace corv::common
