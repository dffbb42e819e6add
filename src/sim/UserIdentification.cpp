#include "sim/UserIdentification.hpp"

#include <array>
#include <string_view>

#include "common/GreatCircle.hpp"
#include "common/UserErrorException.hpp"
#include "liveries/ReferenceData.hpp"
#include "services/Log.hpp"
#include "services/MessageLine.hpp"

namespace corv::sim {

namespace {
constexpr std::size_t shortModelLength = 5;

// A well-known add-on whose model code does not say which Airbus it is.
std::string modelFromTitle(const std::string& title) {
    constexpr std::array<std::pair<std::string_view, std::string_view>, 3> titles{
        {{"Aerosoft A319", "A319"}, {"Aerosoft A320", "A320"}, {"Aerosoft A321", "A321"}}};
    for (const auto& [prefix, model] : titles) {
        if (title.compare(0, prefix.size(), prefix) == 0) return std::string(model);
    }
    return {};
}

void identify(UserAircraftIdentity& user, const std::string& model,
              const liveries::ReferenceData& reference, services::MessageLine& messages) {
    services::log("model raw: {}", model);
    user.model = model;
    user.wingspanFound = true;
    const double largest = reference.largestHalfWingspan();
    if (model.find("camerapod") != std::string::npos ||
        model.find("Crew Vessel") != std::string::npos) {
        user.noAircraft = true;
        user.halfWingspan = reference.halfWingspan(std::string_view("E190"));
    } else {
        double halfSpan = model.size() < shortModelLength
                              ? reference.halfWingspan(std::string_view(model))
                              : largest;
        if (halfSpan == largest) {
            const std::string deduced = modelFromTitle(user.title);
            double deducedSpan = 0.0;
            if (!deduced.empty()) {
                user.model = deduced;
                services::log("SimConnect: User aircraft model deduced from title: {}", deduced);
                deducedSpan = reference.halfWingspan(std::string_view(deduced));
            }
            if (deducedSpan != 0.0) {
                halfSpan = deducedSpan;
            } else {
                halfSpan = largest;
                user.wingspanFound = false;
                messages.showMessage(
                    "User aircraft wing span unknown, max is taken instead, please report in my "
                    "Forum!",
                    true);
            }
        }
        user.halfWingspan = halfSpan;
    }
    const auto index = reference.findModel(user.model);
    user.category = index ? reference.category(*index) : 0;
    user.dataKnown = true;
    services::log("SimConnect: User aircraft model: {}, half wing span: {:.1F} meter, category: {}",
                  user.model, user.halfWingspan * common::metresPerNm, user.category);
}
}  // namespace

bool applyUserTitle(UserAircraftIdentity& user, const std::string& title) {
    if (title.empty()) {
        services::log("! Title of your aircraft is empty?");
        return false;
    }
    const std::string cut = title.substr(0, maxUserTitleLength);
    if (cut == user.title) return false;
    user.title = cut;
    services::log("SimConnect: User aircraft title: " + cut);
    return true;
}

void applyUserModel(UserAircraftIdentity& user, const std::string& model,
                    const liveries::ReferenceData& reference, services::MessageLine& messages) {
    if (model.empty()) {
        throw UserErrorException(
            71, "atc_model= in [General] section of your aircraft.cfg is empty or missing");
    }
    try {
        identify(user, model, reference, messages);
    } catch (const std::exception&) {
        throw UserErrorException(73,
                                 "It looks like you have not selected an aircraft as user vehicle");
    }
}

}  // namespace corv::sim
