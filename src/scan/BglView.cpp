#include "scan/BglView.hpp"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace corv::scan {

void BglView::throwOutOfRange(std::size_t offset, std::size_t width) const {
    throw std::out_of_range("BGL read of " + std::to_string(width) + " bytes at " +
                            std::to_string(offset) + " beyond " + std::to_string(bytes_.size()));
}

BglView BglView::sub(std::size_t offset, std::size_t length) const noexcept {
    if (offset >= bytes_.size()) return {};
    return BglView(bytes_.subspan(offset, std::min(length, bytes_.size() - offset)));
}

}  // namespace corv::scan
