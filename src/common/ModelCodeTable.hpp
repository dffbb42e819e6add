#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "common/CodeTable.hpp"
#include "common/Fnv1aHash.hpp"

namespace corv::common {

// The model (aircraft type) code table. Type codes in liveries and traffic are often
// misspelled; once fixing is switched on, a code with a fix is interned as its correct code,
// so the wrong code never gets an index of its own.
class ModelCodeTable {
  public:
    // Codes interned from now on pass through the fixes.
    void startFixing() noexcept { fixing_ = true; }

    // Records wrong → correct; false (and nothing changes) when the wrong code already has one.
    bool addFix(std::string_view wrong, std::string_view correct);
    std::optional<std::string> fixOf(std::string_view code) const;
    std::size_t fixCount() const;

    CodeIndex intern(std::string_view code);
    std::optional<CodeIndex> find(std::string_view code) const { return codes_.find(code); }
    std::string_view text(CodeIndex index) const { return codes_.text(index); }
    std::size_t size() const { return codes_.size(); }

  private:
    CodeTable codes_;
    std::atomic<bool> fixing_{false};
    mutable std::mutex fixesMutex_;
    std::unordered_map<std::string, std::string, Fnv1aHash, std::equal_to<>> fixes_;
};

}  // namespace corv::common
