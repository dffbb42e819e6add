#include "liveries/WingspanTable.hpp"

#include <algorithm>

#include "services/Log.hpp"

namespace corv::liveries {

bool WingspanTable::add(const std::string& code, double halfSpan) {
    if (!byCode_.emplace(code, halfSpan).second) return false;
    largest_ = std::max(largest_, halfSpan);
    return true;
}

void WingspanTable::fillIndexes(const std::function<common::CodeIndex(std::string_view)>& indexOf) {
    for (const auto& [code, halfSpan] : byCode_) {
        const common::CodeIndex index = indexOf(code);
        if (index >= indexedModels) {
            services::logMarked("wsp fill what: model index {} of {} is beyond the table of {}",
                                index, code, indexedModels);
            continue;
        }
        byIndex_[index] = halfSpan;
    }
}

void WingspanTable::computeCategoryMeans(const std::function<int(std::string_view)>& categoryOf) {
    std::array<double, categoryCount> sums{};
    std::array<int, categoryCount> counts{};
    for (const auto& [code, halfSpan] : byCode_) {
        const int category = categoryOf(code);
        sums[category] += halfSpan;
        ++counts[category];
    }
    for (int category = 0; category < categoryCount; ++category) {
        categoryMeans_[category] = counts[category] > 0 ? sums[category] / counts[category] : 0.0;
    }
}

double WingspanTable::halfSpan(common::CodeIndex model) const {
    return model < indexedModels ? byIndex_[model] : 0.0;
}

double WingspanTable::halfSpan(std::string_view code) const {
    const auto found = byCode_.find(code);
    return found != byCode_.end() ? found->second : 0.0;
}

double WingspanTable::categoryMean(int category) const {
    return category >= 0 && category < categoryCount ? categoryMeans_[category] : 0.0;
}

}  // namespace corv::liveries
