#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace corv::scan {

// Read-only window onto the bytes of a scenery file. Every read names its offset from the
// window's start and is checked (offset + width <= size); a read outside throws
// std::out_of_range, so damaged length or offset fields can never reach past the buffer.
class BglView {
  public:
    BglView() = default;
    explicit BglView(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t size() const noexcept { return bytes_.size(); }
    bool contains(std::size_t offset, std::size_t width) const noexcept {
        return offset <= bytes_.size() && width <= bytes_.size() - offset;
    }

    std::uint8_t u8(std::size_t offset) const;
    std::uint16_t u16(std::size_t offset) const;
    std::uint32_t u32(std::size_t offset) const;
    std::int32_t s32(std::size_t offset) const;
    float f32(std::size_t offset) const;

    // The part from offset on, at most length bytes long (shorter where the window ends).
    BglView sub(std::size_t offset, std::size_t length) const noexcept;

  private:
    const std::uint8_t* at(std::size_t offset, std::size_t width) const;

    std::span<const std::uint8_t> bytes_;
};

}  // namespace corv::scan
