#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corv::scan {

// The stand ids given at one airport. Open addressing in two flat vectors: an airport gives
// hundreds of short ids, and a node per id would cost more than the decoding of its stand.
class StandIdSet {
  public:
    // Room for count more ids without growing.
    void reserve(std::size_t count);
    // False when the id was given before.
    bool insert(std::string_view id);
    std::size_t size() const noexcept { return size_; }

  private:
    std::size_t slotOf(std::string_view id) const;
    void grow(std::size_t slots);

    std::vector<std::string> ids_;
    std::vector<std::uint8_t> taken_;
    std::size_t size_ = 0;
};

}  // namespace corv::scan
