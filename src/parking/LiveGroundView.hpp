#pragma once

#include <string>
#include <vector>

namespace corv::parking {

// A live aircraft standing at (or pulling into) a stand of the park airport.
struct LiveAtStand {
    std::string name;
    std::string standId;
    bool parked = false;     // false: still parking
    bool standFlag = false;  // its stay is known from the feed, not guessed
    int minutesParked = 0;
    bool heavy = false;
};

// What the static parking needs to know of the live aircraft and may ask of them.
class LiveGroundView {
  public:
    virtual ~LiveGroundView() = default;
    // The active live aircraft at stands, in table order.
    virtual std::vector<LiveAtStand> atStands() const = 0;
    virtual void removeLive(const std::string& name) = 0;
    // Every live aircraft on the ground out of the simulator: the park airport is left.
    virtual void removeGroundTraffic() = 0;
};

}  // namespace corv::parking
