#include "liveries/MatchSummary.hpp"

#include <cstddef>
#include <numeric>
#include <string>

#include "services/Log.hpp"

namespace corv::liveries {

namespace {
constexpr int bannerExtension = 90;  // banner lines of 100 characters
}

void logMatchSummary(const MatchRunState& run) {
    if (std::accumulate(run.stepCounts.begin(), run.stepCounts.end(), 0) == 0) return;
    services::log(services::bannerText("live traffic livery matching summary", bannerExtension));
    services::log("Matches at step: ");
    for (std::size_t step = 0; step < run.stepCounts.size(); ++step) {
        if (run.stepCounts[step] > 0) services::log("  {}: {}", step, run.stepCounts[step]);
    }
    if (!run.couldNotBeCreated.empty()) {
        services::log("\nCould not be created");
        for (const std::string& entry : run.couldNotBeCreated)
            services::log("  {}", entry);
    }
    services::log(services::bannerText("", bannerExtension));
}

void logNoMatches(const MatchRunState& run) {
    if (run.noMatch.empty()) return;
    services::log("\nNo match found for:");
    for (const std::string& entry : run.noMatch)
        services::log(entry);
}

}  // namespace corv::liveries
