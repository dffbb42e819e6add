#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "airports/LoadedAirport.hpp"
#include "airports/StandNeighbours.hpp"
#include "liveries/MatchingFixture.hpp"
#include "parking/ReferenceIdentities.hpp"
#include "parking/StaticParking.hpp"
#include "services/MessageLine.hpp"
#include "settings/ParameterTable.hpp"
#include "support/ParameterReset.hpp"

// The static parking of a small airport, with the liveries and the live aircraft played by
// fixtures, driven creation slot by creation slot.
namespace corv::parking::test {

struct FakeLive final : LiveGroundView {
    std::vector<LiveAtStand> atStands() const override { return parked; }
    void removeLive(const std::string& name) override {
        removed.push_back(name);
        std::erase_if(parked, [&](const LiveAtStand& live) { return live.name == name; });
    }
    void removeGroundTraffic() override { parked.clear(); }
    std::vector<LiveAtStand> parked;
    std::vector<std::string> removed;
};

class StaticParkingFixture : public corv::test::MatchingFixture {
  protected:
    static constexpr airports::TimeKey wednesdayNoon{3, 24};

    StaticParkingFixture() {
        corv::test::resetParameters();
        settings::WEEK.setCurrent(false);
        settings::PARK_SOFT.setCurrent(false);
        settings::RANDOM.setCurrent(false);
        settings::MAX_FIT.setCurrent(0);
        settings::MAX_PARK_SEL.setCurrent(500);
        settings::CUSTOM_PARKING_PERCENTAGE.setCurrent(100);
        build({livery("KLM 738", "KLM", "B738"), livery("KLM 77W", "KLM", "B77W")});
        statics.setLiveView(live);
    }
    ~StaticParkingFixture() override { corv::test::resetParameters(); }

    airports::OccupancyEntry entry(const std::string& callsign, const std::string& callsign2,
                                   airports::HalfHourSet hours, const std::string& type = "B738",
                                   int day = 3) {
        airports::OccupancyEntry e;
        e.identity = identities.ofCodes("KLM", type);
        e.callsign = callsign;
        e.callsign2 = callsign2;
        e.registration = callsign.empty() ? "" : "PH-" + callsign;
        e.hours = hours;
        e.day = day;
        return e;
    }

    // A stand `metresEast` of the first, nose north; radius 20 m.
    void addStand(double metresEast, std::vector<airports::OccupancyEntry> entries) {
        airports::Stand& stand = airport.stands.emplace_back();
        stand.id = "S" + std::to_string(airport.stands.size());
        stand.latitude = 52.3;
        stand.longitude = 4.76 + metresEast / (1852.0 * 60.0 * std::cos(52.3 * 3.14159265 / 180));
        stand.radius = 20.0 / 1852.0;
        for (std::size_t i = 0; i < entries.size(); ++i)
            entries[i].index = static_cast<std::int32_t>(i + 1);
        stand.entries = std::move(entries);
        airports::numberStandsAndNeighbours(airport.stands);
    }

    // Places every candidate and hands every request over.
    void placeAll() {
        while (statics.candidateCount() > 0 || statics.queuedCount() > 0)
            statics.onCreationSlot(queues);
    }
    // The simulator creates every handed-over request.
    void spawnAll() {
        for (const sim::CreationRequest& request : queues.creations) {
            statics.onNotice({.objectId = nextObject++,
                              .key = request.key,
                              .kind = sim::SimNoticeKind::StaticSpawned});
        }
        queues.creations.clear();
    }
    std::vector<std::string> names() const {
        std::vector<std::string> list;
        for (const StaticRecord& record : statics.table())
            list.push_back(record.name);
        std::ranges::sort(list);
        return list;
    }

    airports::LoadedAirport airport;
    ReferenceIdentities identities{reference};
    corv::test::FixtureLiveries liveries{indexes, run};
    services::MessageLine messages{[] {}};
    StaticParking statics{
        StaticServices{airport, identities, reference, liveries, random, messages}};
    FakeLive live;
    sim::SimQueues queues;
    sim::ObjectId nextObject = 100;
};

}  // namespace corv::parking::test
