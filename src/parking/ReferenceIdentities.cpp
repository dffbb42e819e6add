#include "parking/ReferenceIdentities.hpp"

#include <algorithm>

namespace corv::parking {

std::optional<common::AircraftIdentity> ReferenceIdentities::ofRegistration(
    std::string_view registration) const {
    // Files write registrations with or without the dash after the prefix.
    std::string bare(registration);
    std::erase(bare, '-');
    for (const std::string_view form : {registration, std::string_view(bare)}) {
        const liveries::DbaseRecord* record = reference_.dbaseRecord(form);
        if (record != nullptr && record->valid) {
            return common::AircraftIdentity{record->airline, record->operatorIndex, record->model,
                                            record->cargo, true};
        }
    }
    return std::nullopt;
}

common::AircraftIdentity ReferenceIdentities::ofCodes(std::string_view airline,
                                                      std::string_view type) const {
    return {reference_.internAirline(airline), 0, reference_.internModel(type), false, false};
}

std::string ReferenceIdentities::airlineCode(const common::AircraftIdentity& identity) const {
    return std::string(reference_.airlineText(identity.airline));
}

std::string ReferenceIdentities::typeCode(const common::AircraftIdentity& identity) const {
    return std::string(reference_.modelText(identity.model));
}

std::string ReferenceIdentities::text(const common::AircraftIdentity& identity) const {
    return airlineCode(identity) + "/" + typeCode(identity);
}

double ReferenceIdentities::halfWingspan(const common::AircraftIdentity& identity) const {
    const double halfSpan = reference_.halfWingspan(identity.model);
    return halfSpan > 0.0
               ? halfSpan
               : reference_.categoryMeanHalfWingspan(reference_.category(identity.model));
}

}  // namespace corv::parking
