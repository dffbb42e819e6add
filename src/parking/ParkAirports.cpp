#include "parking/ParkAirports.hpp"

#include <cmath>
#include <exception>

#include "airports/AirportPaths.hpp"
#include "airports/ClosestAirport.hpp"
#include "airports/NearestStand.hpp"
#include "airports/QualityFactors.hpp"
#include "airports/ReadApf.hpp"
#include "airports/SaveLearned.hpp"
#include "airports/StandSearch.hpp"
#include "airports/WantedCount.hpp"
#include "services/Log.hpp"
#include "services/TimeText.hpp"
#include "settings/ParameterTable.hpp"

namespace corv::parking {

namespace {

constexpr double userStandRadiusNm = 0.029697624190064796;  // 55 m

bool positionKnown(const sim::UserAircraftState& user) {
    return std::fabs(user.latitude) > 0.0001 || std::fabs(user.longitude) > 0.0001;
}

}  // namespace

ParkAirports::ParkAirports(ParkAirportServices services)
    : services_(std::move(services)),
      list_(services_.files.workFolder, services_.files.catalogue) {}

void ParkAirports::readParkAirportList() {
    list_.lf_readMyParkAirports(services_.files.messages);
}

void ParkAirports::parkAirportTick(bool statusFlag) {
    if (rememberRequested_.exchange(false)) rememberUserStand();
    StaticParking& statics = services_.statics;
    if (statics.busy() && statics.candidateCount() == 0 && statics.finishWhenPlaced())
        services_.controls.unlock();
    if (parkAirportChanged_) {
        parkAirportChanged_ = false;
        if (const std::string error = lf_readParkedFile(); !error.empty()) {
            services_.controls.unlock();
            services_.files.messages.showMessage(error, true);
            unloadParkAirport();
        } else {
            services_.controls.restartRenewalCountdown();
            services_.announce(realtraffic::ParkAirport{park_->position(), park_->altitude});
            statics.calculate(services_.timeKeyNow.load(),
                              services_.realTraffic.takeSeenCallsigns(),
                              services_.airport.reservedStandId, standAtUser());
            if (!statics.busy()) services_.controls.unlock();
        }
        services_.controls.enableParkAirportControls(true);
        refreshDisplay();
        return;
    }
    const sim::UserAircraftState user = services_.simulator.userAircraft();
    if (positionKnown(user)) {
        list_.updateParkAirportDistances({user.latitude, user.longitude},
                                         !settings::DESTINATION.value().empty());
        if (park_) {
            checkInSight(user);
        } else {
            chooseParkAirport(statusFlag, user);
        }
    }
    refreshDisplay();
}

void ParkAirports::chooseParkAirport(bool statusFlag, const sim::UserAircraftState& user) {
    const airports::AirportFilesContext& files = services_.files;
    if (user.onGround) {
        const airports::NearestStandLookup nearestStand =
            [&files](const airports::AirportCode& code, const common::GeoPoint& at,
                     std::string& standId) {
                return airports::gf_readDestApfForClosestStand(files.workFolder, files.catalogue,
                                                               files.downloader, code, at, standId);
            };
        const airports::CatalogueAirport* airport = airports::findClosestAirport(
            files.catalogue, {user.latitude, user.longitude}, nearestStand);
        if (airport == nullptr) {
            files.messages.showMessage(
                "User aircraft on the ground, no RT supported airport in sight", true);
            return;
        }
        const std::string at =
            fmt::format("User aircraft on the ground at {}", airports::airportLabel(*airport));
        if (!airports::hasStandData(files.workFolder, files.catalogue, airport->code)) {
            files.messages.showMessage(at + ", no airport file found", true);
            return;
        }
        services::log("{}", at);
        if (!setParkAirport(airport->code)) return;
        parkAirportChanged_ = true;
        requestCalculation(statusFlag);
        return;
    }
    services_.controls.enableParkAirportControls(true);
    const airports::ParkAirportEntry* first = list_.first();
    if (first == nullptr) return;
    if (first->distance <= settings::AIRP_RANGE.value() &&
        user.altitudeFeet <= settings::AIRP_HEIGHT.value() && setParkAirport(first->code)) {
        files.messages.showMessage(
            fmt::format("{} in sight at {:.1F} nm", first->code.str(), first->distance), true);
        parkAirportChanged_ = true;
        requestCalculation(false);
    }
}

void ParkAirports::checkInSight(const sim::UserAircraftState& user) {
    if (user.onGround) return;
    const double range = settings::AIRP_RANGE.value();
    const double height = settings::AIRP_HEIGHT.value();
    const double distance = common::distanceNm({user.latitude, user.longitude}, park_->position());
    const std::string label = airports::airportLabel(*park_);
    if (distance <= range && user.altitudeFeet <= height) {
        const airports::ParkAirportEntry* first = list_.first();
        if (first != nullptr && first->code != park_->code && first->distance <= range &&
            first->distance <= distance) {
            services::log(
                "\n{} {} is in sight ({:.1F} nm), parked aircraft at {} will be removed "
                "first",
                services::clockText(), first->code.str(), first->distance, label);
            leaveParkAirport();
        }
        return;
    }
    services::log("\n{} {} is out of sight ({:.1F} nm), parked aircraft will be removed",
                  services::clockText(), label, distance);
    leaveParkAirport();
}

void ParkAirports::requestCalculation(bool statusFlag) {
    services_.controls.lock();
    services_.realTraffic.startCallsignCollection();
    if (statusFlag)
        services_.files.messages.showMessage("Calculating static parked aircraft ...", false);
}

bool ParkAirports::setParkAirport(const airports::AirportCode& code) {
    const airports::CatalogueAirport* airport = services_.files.catalogue.findAirport(code);
    if (airport == nullptr) return false;
    park_ = *airport;
    services::log("\nThe park airport is {}", code.str());
    return true;
}

std::string ParkAirports::lf_readParkedFile() {
    airports::LoadedAirport& airport = services_.airport;
    const airports::AirportFilesContext& files = services_.files;
    airport.stands.clear();
    const std::string path =
        airports::resolveAirportFile(files.workFolder, files.catalogue, park_->code);
    if (path.empty()) return fmt::format("{} {} not found", "lf_readParkedFile", park_->code.str());
    airport.code = park_->code;
    airport.airport_name.clear();
    airport.publisher.clear();
    airport.altitude = 0;
    try {
        if (std::string error = airports::gf_readApf(path, airport, files); !error.empty())
            return error;
    } catch (const std::exception& e) {
        return e.what();
    }
    const std::string userStand = standAtUser();
    if (positionKnown(services_.simulator.userAircraft())) {
        auto& entries = list_.entries();
        if (!entries.empty() && entries.front().code == park_->code) {
            if (!userStand.empty() && userStand != entries.front().reservedStand) {
                entries.front().reservedStand = userStand;
                list_.writeParkAirportLine();
            }
        } else {
            entries.push_front({userStand, park_->latitude, park_->longitude, 0.0, park_->code});
            list_.writeParkAirportLine();
        }
    }
    airport.stands.shrink_to_fit();
    airport.reservedStandId.clear();
    if (const airports::ParkAirportEntry* first = list_.first();
        first != nullptr && first->code == park_->code) {
        for (const airports::Stand& stand : airport.stands) {
            if (stand.id == first->reservedStand) airport.reservedStandId = stand.id;
        }
    }
    airport.updateCount = 0;
    return {};
}

void ParkAirports::leaveParkAirport() {
    services_.statics.removeAll();
    if (live_ != nullptr) live_->removeGroundTraffic();
    unloadParkAirport();
}

void ParkAirports::unloadParkAirport() {
    airports::LoadedAirport& airport = services_.airport;
    if (airport.loaded) {
        airports::saveLearnedFile(airport, services_.files);
        airports::restoreAirportSettings(airport.settings, services_.files.settings);
    }
    airport.loaded = false;
    airport.handmade = false;
    airport.RT_traffic_week = 0;
    airport.code.reset();
    airport.altitude = 0;
    airport.stands.clear();
    airport.reservedStandId.clear();
    airport.airport_name.clear();
    airport.publisher.clear();
    park_.reset();
    parkAirportChanged_ = false;
    services_.announce(std::nullopt);
    services_.controls.enableParkAirportControls(false);
    refreshDisplay();
}

std::string ParkAirports::standAtUser() {
    const sim::UserAircraftState user = services_.simulator.userAircraft();
    const std::vector<airports::Stand>& stands = services_.airport.stands;
    if (stands.empty() || !user.onGround) return {};
    if (std::fabs(user.latitude - userStandAt_.latitude) <= 1e-8 &&
        std::fabs(user.longitude - userStandAt_.longitude) <= 1e-8) {
        return userStand_;
    }
    userStandAt_ = {user.latitude, user.longitude};
    userStand_ = airports::standNear(stands, userStandAt_, userStandRadiusNm);
    return userStand_;
}

void ParkAirports::rememberUserStand() {
    const sim::UserAircraftState user = services_.simulator.userAircraft();
    if (!positionKnown(user) || user.groundVelocity > 2.0) return;
    const std::string stand = standAtUser();
    auto& entries = list_.entries();
    if (stand.empty() || entries.empty() || !park_ || entries.front().code != park_->code ||
        entries.front().reservedStand == stand) {
        return;
    }
    entries.front().reservedStand = stand;
    list_.writeParkAirportLine();
}

void ParkAirports::keepReservedStandFree() {
    const std::string& reserved = services_.airport.reservedStandId;
    for (const airports::Stand& stand : services_.airport.stands) {
        if (stand.id != reserved) continue;
        if (services_.statics.removeFrom(stand.number) || live_ == nullptr) return;
        for (const LiveAtStand& live : live_->atStands()) {
            if (live.standId == reserved) {
                live_->removeLive(live.name);
                return;
            }
        }
        return;
    }
}

std::string ParkAirports::recheckParkAirports() {
    if (!list_.lf_readMyParkAirports(services_.files.messages)) return {};
    std::string report;
    const sim::UserAircraftState user = services_.simulator.userAircraft();
    const airports::ParkAirportEntry* first = list_.first();
    airports::LoadedAirport& airport = services_.airport;
    if (positionKnown(user) && !services_.statics.busy() && standAtUser().empty() && park_ &&
        first != nullptr && first->code == park_->code && !first->reservedStand.empty() &&
        first->reservedStand != airport.reservedStandId) {
        report = fmt::format("reserved stand changed from '{}' to '{}'", airport.reservedStandId,
                             first->reservedStand);
        for (airports::Stand& stand : airport.stands) {
            if (stand.id == airport.reservedStandId) stand.reserved = false;
        }
        airport.reservedStandId = first->reservedStand;
        keepReservedStandFree();
        for (airports::Stand& stand : airport.stands) {
            if (stand.id == airport.reservedStandId) stand.reserved = true;
        }
    }
    return report.empty() ? "park airports and stands are okay" : report;
}

void ParkAirports::setDestination(const std::string& code) {
    try {
        if (const airports::CatalogueAirport* airport =
                services_.files.catalogue.findAirport(airports::AirportCode(code))) {
            list_.setDestination(*airport);
        }
    } catch (const std::exception& e) {
        services::logMarked("{}: {}", "setDestination", e.what());
    }
}

std::optional<double> ParkAirports::firstParkAirportDistance() const {
    const airports::ParkAirportEntry* first = list_.first();
    if (first == nullptr) return std::nullopt;
    return first->distance;
}

void ParkAirports::renewStaticParking() {
    services_.statics.renew(services_.timeKeyNow.load(), services_.realTraffic.takeSeenCallsigns(),
                            services_.airport.reservedStandId, standAtUser());
    if (!services_.statics.busy()) services_.controls.unlock();
    refreshDisplay();
}

void ParkAirports::resetRunState() {
    services_.statics.forgetAll();
    park_.reset();
    parkAirportChanged_ = false;
    userStandAt_ = {1000.0, 1000.0};
    userStand_.clear();
}

void ParkAirports::refreshDisplay() {
    const airports::LoadedAirport& airport = services_.airport;
    const StaticParking& statics = services_.statics;
    int parkedLive = 0;
    if (live_ != nullptr) {
        for (const LiveAtStand& live : live_->atStands())
            parkedLive += live.parked ? 1 : 0;
    }
    const auto stands = static_cast<int>(airport.stands.size());
    services_.display.update([&](status::DisplaySnapshot& d) {
        status::ParkingDisplay& p = d.parking;
        p.airportSet = park_.has_value();
        p.code = park_ ? park_->code.str() : std::string{};
        p.readWithoutError = airport.loaded;
        p.airportName = airport.airport_name;
        p.publisher = airport.publisher;
        p.handmade = airport.handmade;
        p.rtTrafficWeek = std::to_string(airport.RT_traffic_week);
        p.weekInEffect = settings::WEEK.value();
        p.softInEffect = settings::PARK_SOFT.value();
        p.qualityFactor = airports::qualityText(airport.quality);
        p.reservedStand = airport.reservedStandId;
        p.reservedStandKnown = !airport.reservedStandId.empty();
        p.updates = airport.updateCount;
        p.stands = stands;
        p.parkedLive = parkedLive;
        p.wantedStaticCount = statics.wanted();
        p.wantedPercentage =
            stands > 0 ? static_cast<int>(std::lround(statics.wanted() * 100.0 / stands)) : 0;
        p.staticInSim = statics.activeCount();
        p.staticQueued = statics.queuedCount();
        d.parkAirportLoaded = airport.loaded;
    });
    services_.window.repaintBand(status::Band::Parking);
}

}  // namespace corv::parking
