#pragma once

#include <string>

namespace corv::services {
class MessageLine;
}
namespace corv::liveries {
class ReferenceData;
}

namespace corv::sim {

// What the program knows of the aircraft the user flies.
struct UserAircraftIdentity {
    std::string title;          // at most 48 characters (not bytes)
    std::string model;          // ICAO type code
    double halfWingspan = 0.0;  // nautical miles
    int category = 0;
    bool dataKnown = false;
    bool noAircraft = false;  // a camera pod or a crew vessel
    bool wingspanFound = true;
};

inline constexpr std::size_t maxUserTitleLength = 48;

// The title reply: true when the stored title changed (and was logged), so the window shows it.
bool applyUserTitle(UserAircraftIdentity& user, const std::string& title);

// The model reply: model, half wingspan and category from the reference data. Throws
// corv::UserErrorException 71 for an empty model and 73 when the reply cannot be handled.
void applyUserModel(UserAircraftIdentity& user, const std::string& model,
                    const liveries::ReferenceData& reference, services::MessageLine& messages);

}  // namespace corv::sim
