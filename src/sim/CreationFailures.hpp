#pragma once

#include <set>
#include <string>

namespace corv::services {
class MessageLine;
}

namespace corv::sim {

// The liveries the simulator refused to create, so that livery matching does not choose them
// again, and the model-and-airline texts listed as "Could not be created".
class CreationFailures {
  public:
    static constexpr std::size_t tooManyTitles = 20;

    // A CreateFailed notice for an aircraft: shows the failure (unless the run is ending),
    // records title and model-and-airline text, and throws corv::UserErrorException 81 once
    // twenty distinct titles have failed. The caller then drops the aircraft.
    void record(const std::string& callsign, const std::string& liveryTitle,
                const std::string& modelCode, const std::string& airlineCode, bool runEnding,
                services::MessageLine& messages);

    bool titleFailed(const std::string& title) const { return failedTitles_.contains(title); }
    const std::set<std::string>& failedTitles() const { return failedTitles_; }
    const std::set<std::string>& couldNotBeCreated() const { return couldNotBeCreated_; }

  private:
    std::set<std::string> failedTitles_;
    std::set<std::string> couldNotBeCreated_;
};

}  // namespace corv::sim
