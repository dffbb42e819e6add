#include "parking/StaticParking.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "airports/StaticCalculation.hpp"
#include "airports/WantedCount.hpp"
#include "common/GreatCircle.hpp"
#include "liveries/AircraftCategory.hpp"
#include "liveries/LiveryMatch.hpp"
#include "liveries/LiverySource.hpp"
#include "liveries/ReferenceData.hpp"
#include "services/Log.hpp"
#include "settings/ParameterTable.hpp"

namespace corv::parking {

namespace {
constexpr sim::AircraftKey staticKeys = sim::lastStaticKey;
}  // namespace

StaticParking::StaticParking(StaticServices services) : services_(services) {}

std::vector<airports::PlacedStatic> StaticParking::placedStatics() const {
    std::vector<airports::PlacedStatic> placed;
    placed.reserve(table_.size());
    for (const StaticRecord& record : table_) {
        placed.push_back({record.name, record.callsign, record.registration, record.identity,
                          record.stand, record.latitude, record.longitude,
                          record.state == StaticState::Active});
    }
    return placed;
}

std::vector<LiveAtStand> StaticParking::liveAtStands() const {
    return live_ != nullptr ? live_->atStands() : std::vector<LiveAtStand>{};
}

airports::StaticSearchInputs StaticParking::searchInputs(
    const std::vector<airports::PlacedStatic>& placed, const std::vector<std::string>& liveParked) {
    return {liveCallsigns_, placed, liveParked, services_.identities,
            [this](std::size_t count) { return services_.random.below(count); }};
}

void StaticParking::calculate(airports::TimeKey key, std::unordered_set<std::string> liveCallsigns,
                              std::string_view reservedStand, std::string_view userStand) {
    airports::logParkingDay(key);
    key_ = key;
    busy_ = true;
    candidates_.clear();
    liveCallsigns_ = std::move(liveCallsigns);
    std::vector<airports::Stand>& stands = services_.airport.stands;
    airports::resetStandMarks(stands, reservedStand, userStand);
    wanted_ = airports::wantedStaticCount(stands.size(), airports::parkingShare(),
                                          settings::MAX_PARK_SEL.value());
    const std::vector<airports::PlacedStatic> placed = placedStatics();
    std::vector<std::string> liveParked;
    for (const LiveAtStand& live : liveAtStands())
        liveParked.push_back(live.name);
    candidates_ =
        airports::calculateStaticParking(stands, key, searchInputs(placed, liveParked), fits_);
    if (candidates_.empty()) busy_ = false;
}

const airports::Stand* StaticParking::standOf(std::int32_t number) const {
    const std::vector<airports::Stand>& stands = services_.airport.stands;
    if (number < 1 || number > static_cast<std::int32_t>(stands.size())) return nullptr;
    return &stands[static_cast<std::size_t>(number - 1)];
}

std::int32_t StaticParking::standNumberOf(const std::string& id) const {
    for (const airports::Stand& stand : services_.airport.stands) {
        if (stand.id == id) return stand.number;
    }
    return 0;
}

bool StaticParking::blockedByAircraft(const airports::StaticAircraft& candidate,
                                      const airports::Stand& stand) const {
    const auto nearby = [&](std::int32_t number) {
        return number == stand.number ||
               std::ranges::find(stand.neighbours, number) != stand.neighbours.end();
    };
    for (const LiveAtStand& live : liveAtStands()) {
        const std::int32_t at = standNumberOf(live.standId);
        if (at == 0 || !nearby(at)) continue;
        if (at == stand.number) {
            services::log("{:8}: no static parking for {}, live aircraft {} standing here",
                          stand.id, candidate.callsign, live.name);
        } else {
            services::log(
                "{:8}: no static parking for {}, live aircraft {} is adjacent at {}, possibly "
                "colliding",
                stand.id, candidate.callsign, live.name, live.standId);
        }
        return true;
    }
    for (const StaticRecord& record : table_) {
        // One on its way out (a departure changing its callsign) makes room.
        if (!nearby(record.stand) || record.state == StaticState::Removing) continue;
        services::log(
            "{:8}: no static parking for {}, static aircraft {} is adjacent at {}, possibly "
            "colliding",
            stand.id, candidate.callsign, record.name, services_.airport.standIdOf(record.stand));
        return true;
    }
    if (stand.liveClaimed) {
        services::log("{:8}: no static parking for {}, live aircraft occupies the stand", stand.id,
                      candidate.callsign);
        return true;
    }
    return false;
}

std::string StaticParking::nameOf(const airports::StaticAircraft& candidate,
                                  sim::AircraftKey key) const {
    if (candidate.callsign.empty()) {
        return fmt::format("{}{}*", services_.identities.airlineCode(candidate.identity), key);
    }
    std::string name = !candidate.staysNext && !candidate.callsign2.empty() ? candidate.callsign2
                                                                            : candidate.callsign;
    while (!name.empty() && name.back() == '_')
        name.pop_back();
    if (!name.ends_with('*')) name += '*';
    return name;
}

bool StaticParking::findLivery(StaticRecord& record, bool cargoStand, std::string& title) {
    const liveries::MatchingIndexes* indexes = services_.liveries.indexes();
    if (indexes == nullptr) return false;
    liveries::MatchAircraft match;
    match.key = record.identity;
    match.category = services_.reference.category(record.identity.model);
    match.registration = record.registration;
    match.preferCargo = cargoStand;
    match.live = false;
    match.callsign = record.name;
    match.description = record.name;
    const liveries::MatchContext context{
        *indexes,
        services_.reference,
        services_.liveries.runState(),
        {settings::MATCHING_DEPTH.value(), settings::RANDOM.value()},
        services_.random};
    if (!liveries::matchLivery(match, context)) return false;
    title = std::string(match.title);
    return true;
}

void StaticParking::placeNextStatic() {
    if (candidates_.empty() || services_.airport.stands.empty()) return;
    const airports::StaticAircraft candidate = std::move(candidates_.back());
    candidates_.pop_back();
    const airports::Stand* stand = standOf(candidate.stand);
    if (stand == nullptr) {
        services::logMarked("stand with id {} not found", candidate.stand);
        return;
    }
    if (blockedByAircraft(candidate, *stand)) return;
    keyCounter_ = (keyCounter_ + 1) % staticKeys;
    const sim::AircraftKey key = keyCounter_;

    StaticRecord record;
    record.name = nameOf(candidate, key);
    record.callsign = candidate.callsign;
    record.callsign2 = candidate.callsign2;
    record.registration = candidate.registration;
    record.identity = candidate.identity;
    record.latitude = stand->latitude;
    record.longitude = stand->longitude;
    record.headingDegrees = stand->heading * 180.0 / std::numbers::pi;
    record.stand = stand->number;
    record.key = key;
    std::string title;
    if (!findLivery(record, stand->cargo, title)) {
        services::log("{:8}: no livery for static {}", stand->id, record.name);
        return;
    }
    record.placedFor = airports::fitSlot(key_, candidate.fit);
    sim::CreationRequest request;
    request.position = {
        stand->latitude, stand->longitude, 0.0, 0.0, 0.0, record.headingDegrees, true, 0};
    request.tailNumber = record.name;
    request.liveryTitle = std::move(title);
    request.key = key;
    creations_.push_back(std::move(request));
    table_.push_back(std::move(record));
}

bool StaticParking::finishWhenPlaced() {
    if (!busy_ || !candidates_.empty()) return false;
    busy_ = false;
    return true;
}

void StaticParking::onCreationSlot(sim::SimQueues& queues) {
    if (!creations_.empty()) {
        const sim::AircraftKey key = creations_.front().key;
        queues.queueCreation(std::move(creations_.front()));
        creations_.pop_front();
        for (StaticRecord& record : table_) {
            if (record.key == key && record.state == StaticState::Queued)
                record.state = StaticState::Creating;
        }
    }
    if (!candidates_.empty()) placeNextStatic();
}

std::optional<sim::ObjectId> StaticParking::nextRemoval() {
    if (removals_.empty()) return std::nullopt;
    const sim::ObjectId object = removals_.front();
    removals_.pop_front();
    return object;
}

void StaticParking::requestRemoval(StaticRecord& record) {
    switch (record.state) {
        case StaticState::Queued:
            std::erase_if(creations_,
                          [&](const sim::CreationRequest& r) { return r.key == record.key; });
            record.state = StaticState::Removing;
            record.objectId = 0;  // no object to wait for
            break;
        case StaticState::Creating:
            record.removeWhenCreated = true;
            break;
        case StaticState::Active:
            record.state = StaticState::Removing;
            removals_.push_back(record.objectId);
            break;
        case StaticState::Removing:
            break;
    }
}

void StaticParking::dropWithdrawn() {
    std::erase_if(table_, [](const StaticRecord& r) {
        return r.state == StaticState::Removing && r.objectId == 0;
    });
}

bool StaticParking::onNotice(const sim::SimNotice& notice) {
    switch (notice.kind) {
        case sim::SimNoticeKind::StaticSpawned:
            for (StaticRecord& record : table_) {
                if (record.key != notice.key || record.state != StaticState::Creating) continue;
                record.objectId = notice.objectId;
                record.state = StaticState::Active;
                if (record.removeWhenCreated) requestRemoval(record);
                return true;
            }
            return false;
        case sim::SimNoticeKind::CreateFailed:
            if (sim::isLiveKey(notice.key)) return false;
            return std::erase_if(table_, [&](const StaticRecord& r) {
                       return r.key == notice.key && r.state == StaticState::Creating;
                   }) > 0;
        case sim::SimNoticeKind::Removed:
            if (notice.objectId == 0) return false;
            return std::erase_if(table_, [&](const StaticRecord& r) {
                       return r.objectId == notice.objectId;
                   }) > 0;
        case sim::SimNoticeKind::LiveSpawned:
        case sim::SimNoticeKind::NearbyAircraft:
        case sim::SimNoticeKind::StaticCg:
            return false;
    }
    return false;
}

void StaticParking::removeAll() {
    candidates_.clear();
    for (StaticRecord& record : table_)
        requestRemoval(record);
    dropWithdrawn();
}

void StaticParking::forgetAll() {
    candidates_.clear();
    table_.clear();
    creations_.clear();
    removals_.clear();
    busy_ = false;
}

bool StaticParking::removeFrom(std::int32_t stand) {
    for (StaticRecord& record : table_) {
        if (record.stand == stand && record.state == StaticState::Active) {
            requestRemoval(record);
            dropWithdrawn();
            return true;
        }
    }
    return false;
}

std::vector<StaticView> StaticParking::staticAircraft() const {
    std::vector<StaticView> views;
    views.reserve(table_.size());
    for (const StaticRecord& record : table_) {
        views.push_back({record.key,
                         record.objectId,
                         record.name,
                         record.registration,
                         record.callsign,
                         record.callsign2,
                         record.stand,
                         {record.latitude, record.longitude},
                         services_.identities.halfWingspan(record.identity),
                         airports::weekSlot(record.placedFor),
                         record.state == StaticState::Active,
                         record.state == StaticState::Removing && record.objectId != 0});
    }
    return views;
}

void StaticParking::removeStatic(sim::AircraftKey key) {
    for (StaticRecord& record : table_) {
        if (record.key != key || record.state == StaticState::Removing) continue;
        requestRemoval(record);
        dropWithdrawn();
        return;
    }
}

int StaticParking::activeCount() const {
    return static_cast<int>(std::ranges::count(table_, StaticState::Active, &StaticRecord::state));
}

void StaticParking::makeWayFor(const airports::Stand& stand, const LiveClaim& claim) {
    for (StaticRecord& record : table_) {
        if (record.stand != stand.number) continue;
        const bool sameFlight =
            record.callsign == claim.callsign ||
            (!record.registration.empty() && record.registration == claim.registration);
        const char* same = sameFlight ? " the same live version" : "";
        switch (record.state) {
            case StaticState::Active:
                services::log("{:8}: {:8} {} makes way for{} {} {}", stand.id, record.name,
                              record.registration, same, claim.callsign, claim.registration);
                break;
            case StaticState::Queued:
                services::log("queued {:8}: {:8} {} makes way for{} {} {}", stand.id, record.name,
                              record.registration, same, claim.callsign, claim.registration);
                break;
            case StaticState::Creating:
            case StaticState::Removing:
                break;
        }
        requestRemoval(record);
    }
    for (const std::int32_t number : stand.neighbours) {
        const airports::Stand* beside = standOf(number);
        if (beside == nullptr) continue;
        const double apart = common::distanceNm({beside->latitude, beside->longitude},
                                                {stand.latitude, stand.longitude});
        for (StaticRecord& record : table_) {
            if (record.stand != number || record.state != StaticState::Active) continue;
            if (apart >=
                1.1 * (services_.identities.halfWingspan(record.identity) + claim.radiusNm))
                continue;
            services::log("{:8}: {:8} makes way for {} parking at excluded stand {}", beside->id,
                          record.name, claim.callsign, stand.id);
            requestRemoval(record);
        }
    }
    dropWithdrawn();
}

}  // namespace corv::parking
