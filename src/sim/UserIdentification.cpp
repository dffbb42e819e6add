#include "sim/UserIdentification.hpp"

#include <array>
#include <optional>
#include <string_view>

#include "common/GreatCircle.hpp"
#include "common/UserErrorException.hpp"
#include "common/Utf8Prefix.hpp"
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
        // The table gives 0 for a type it does not know; a long model is no type code at all.
        const auto knownSpan = [&](const std::string& code) -> std::optional<double> {
            const double span = reference.halfWingspan(std::string_view(code));
            return span > 0.0 ? std::optional<double>(span) : std::nullopt;
        };
        std::optional<double> halfSpan =
            model.size() < shortModelLength ? knownSpan(model) : std::nullopt;
        if (!halfSpan) {
            if (const std::string deduced = modelFromTitle(user.title); !deduced.empty()) {
                user.model = deduced;
                services::log("SimConnect: User aircraft model deduced from title: {}", deduced);
                halfSpan = knownSpan(deduced);
            }
        }
        if (!halfSpan) {
            // Unknown: the largest span keeps the user's aircraft from stands it may not fit.
            user.wingspanFound = false;
            messages.showMessage(
                "User aircraft wing span unknown, max is taken instead, please report in my "
                "Forum!",
                true);
        }
        user.halfWingspan = halfSpan.value_or(largest);
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
    const std::string cut = common::utf8Prefix(title, maxUserTitleLength);
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
