#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "common/Fnv1aHash.hpp"

namespace corv::common {

// Airline and model codes are held as these indexes so that records stay small.
using CodeIndex = std::uint16_t;

// Interns texts: each distinct text gets the next 16-bit index in order of first use; index 0
// is always the empty text. Safe to use from several threads (the livery scan interns from
// its reader tasks).
class CodeTable {
  public:
    CodeTable();
    CodeTable(const CodeTable&) = delete;
    CodeTable& operator=(const CodeTable&) = delete;

    // The index of the text, adding it when new. Throws gsl::narrowing_error when all 65536
    // indexes are taken.
    CodeIndex intern(std::string_view text);
    std::optional<CodeIndex> find(std::string_view text) const;
    // Stays valid for the life of the table. Throws std::out_of_range for an unused index.
    std::string_view text(CodeIndex index) const;
    std::size_t size() const;

  private:
    mutable std::mutex mutex_;
    // A deque never moves its elements, so the map's keys can view them.
    std::deque<std::string> texts_;
    std::unordered_map<std::string_view, CodeIndex, Fnv1aHash> indexes_;
};

}  // namespace corv::common
