#pragma once

#include <cstddef>
#include <random>

namespace corv::liveries {

// Where livery choices draw their random numbers; tests put a scripted source in.
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    // Uniformly one of 0 .. count - 1; count is at least 1.
    virtual std::size_t below(std::size_t count) = 0;
};

class UniformRandom final : public RandomSource {
  public:
    UniformRandom() : engine_(std::random_device{}()) {}
    std::size_t below(std::size_t count) override {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(engine_);
    }

  private:
    std::mt19937 engine_;
};

}  // namespace corv::liveries
