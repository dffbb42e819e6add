#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/CodeTable.hpp"
#include "liveries/AircraftCategory.hpp"

namespace corv::liveries {

// Half wingspans in nautical miles: what stand fitting and collision checks compare with
// distances.
class WingspanTable {
  public:
    // Only the first models get an entry by index: the reference types are interned first.
    static constexpr std::size_t indexedModels = 2700;

    static double halfSpanOfMetres(double metres) { return metres * 0.5 / 1852.0; }

    // The first entry of a code counts; false when the code already has one.
    bool add(const std::string& code, double halfSpan);

    // Copies the entries to the table by model index; an index beyond the table is refused
    // with a marked log line.
    void fillIndexes(const std::function<common::CodeIndex(std::string_view)>& indexOf);
    // The mean half span of the models of each category that have an entry.
    void computeCategoryMeans(const std::function<int(std::string_view)>& categoryOf);

    bool empty() const { return byCode_.empty(); }
    // 0 when the model has no entry.
    double halfSpan(common::CodeIndex model) const;
    double halfSpan(std::string_view code) const;
    double categoryMean(int category) const;
    double largest() const { return largest_; }

  private:
    std::map<std::string, double, std::less<>> byCode_;
    std::vector<double> byIndex_ = std::vector<double>(indexedModels, 0.0);
    std::array<double, categoryCount> categoryMeans_{};
    double largest_ = 0.0;
};

}  // namespace corv::liveries
