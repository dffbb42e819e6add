#include "liveries/CreationFailure.hpp"

#include <fmt/format.h>

#include "common/UserErrorException.hpp"
#include "services/Log.hpp"
#include "services/MessageLine.hpp"

namespace corv::liveries {

void recordCreationFailure(MatchRunState& run, const std::string& callsign,
                           const std::string& liveryTitle, const std::string& modelCode,
                           const std::string& airlineCode, bool runEnding,
                           services::MessageLine& messages) {
    if (!runEnding) {
        messages.showMessage(
            fmt::format("{} '{}' could not be created by your Sim!", callsign, liveryTitle), true);
    }
    run.failedTitles.insert(liveryTitle);
    run.couldNotBeCreated.insert(modelCode + " " + airlineCode);
    if (run.failedTitles.size() >= tooManyFailedTitles) {
        const std::string sentence = "There are too many liveries that could not be created!";
        services::log("\n{}Error 81, {}\n", "===> ", sentence);
        throw UserErrorException(81, fmt::format("{}, see Log.txt", sentence));
    }
}

}  // namespace corv::liveries
