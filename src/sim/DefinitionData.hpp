#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace corv::sim {

// Packs the variables of a data definition in their order: 8 bytes for floats and 64-bit
// integers, 32 bytes for a fixed string, a zero-terminated string for a variable one.
class DefinitionWriter {
  public:
    DefinitionWriter& float64(double value);
    DefinitionWriter& int64(std::int64_t value);
    DefinitionWriter& string32(const std::string& value);  // cut to 31 characters
    DefinitionWriter& stringV(const std::string& value);

    const std::vector<std::byte>& bytes() const noexcept { return bytes_; }

  private:
    std::vector<std::byte> bytes_;
};

// Reads packed variables back in the same order; throws std::out_of_range when the data end
// too early.
class DefinitionReader {
  public:
    explicit DefinitionReader(std::span<const std::byte> data) : data_(data) {}

    double float64();
    std::int64_t int64();
    std::string string32();
    std::string stringV();

    std::size_t remaining() const noexcept { return data_.size() - offset_; }

  private:
    std::span<const std::byte> take(std::size_t count);

    std::span<const std::byte> data_;
    std::size_t offset_ = 0;
};

}  // namespace corv::sim
