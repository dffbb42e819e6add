#pragma once

#include <chrono>

namespace corv::sim::standin {

// Where the stand-in simulator takes its time from. The steady time drives frames, periodic
// replies and the scenario; the UTC time gives the zulu time of the user aircraft. Tests inject
// a clock they move by hand, so nothing ever has to sleep.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::chrono::steady_clock::time_point steadyNow() const = 0;
    virtual std::chrono::system_clock::time_point utcNow() const = 0;
};

class SystemClock final : public Clock {
  public:
    std::chrono::steady_clock::time_point steadyNow() const override {
        return std::chrono::steady_clock::now();
    }
    std::chrono::system_clock::time_point utcNow() const override {
        return std::chrono::system_clock::now();
    }
};

// A clock that only moves when told to; both times advance together.
class ManualClock final : public Clock {
  public:
    explicit ManualClock(
        std::chrono::system_clock::time_point utcStart = std::chrono::system_clock::time_point{})
        : utc_(utcStart) {}

    std::chrono::steady_clock::time_point steadyNow() const override { return steady_; }
    std::chrono::system_clock::time_point utcNow() const override { return utc_; }

    void advance(std::chrono::nanoseconds step) {
        steady_ += step;
        utc_ += std::chrono::duration_cast<std::chrono::system_clock::duration>(step);
    }

  private:
    std::chrono::steady_clock::time_point steady_{};
    std::chrono::system_clock::time_point utc_;
};

}  // namespace corv::sim::standin
