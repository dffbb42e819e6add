#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "airports/StandNeighbours.hpp"
#include "live/LiveTrafficFixture.hpp"
#include "support/TempFolder.hpp"

namespace corv::live::test {

// The park airport at the origin with two gates 60 m apart in a row, noses north, 24 m radius.
class LiveParkingFixture : public LiveTrafficFixture {
  protected:
    LiveParkingFixture() {
        for (const double east : {0.0, 60.0}) {
            airports::Stand& stand = airport.stands.emplace_back();
            stand.id = "G" + std::to_string(airport.stands.size());
            const common::GeoPoint p =
                common::destinationPoint(origin, std::numbers::pi / 2, east / 1852.0);
            stand.latitude = p.latitude;
            stand.longitude = p.longitude;
            stand.heading = 0.0;
            stand.radius = 24.0 / 1852.0;
            stand.type = 0;
        }
        airports::numberStandsAndNeighbours(airport.stands);
        airport.loaded = true;
        traffic.setParkAirport(realtraffic::ParkAirport{origin, 0.0});
    }

    // Reports of an aircraft standing still 8 m south-east of gate G1 for a minute.
    std::vector<realtraffic::TrafficReport> standing(double fromSecond = 0.0) {
        std::vector<realtraffic::TrafficReport> reports;
        for (double second = fromSecond; second <= fromSecond + 60; second += 10)
            reports.push_back(at(second, 5, -6, 0, 0));
        return reports;
    }
    const common::GeoPoint gate1() const {
        return {airport.stands[0].latitude, airport.stands[0].longitude};
    }
    common::GeoPoint simAt() const { return {aircraft()->sim.latitude, aircraft()->sim.longitude}; }

    // Gates G3 ... G<count> in the same row, 60 m apart.
    void addGates(std::size_t count) {
        while (airport.stands.size() < count) {
            airports::Stand stand = airport.stands.back();
            stand.id = "G" + std::to_string(airport.stands.size() + 1);
            const common::GeoPoint p = common::destinationPoint(
                {stand.latitude, stand.longitude}, std::numbers::pi / 2, 60.0 / 1852.0);
            stand.latitude = p.latitude;
            stand.longitude = p.longitude;
            airport.stands.push_back(stand);
        }
        airports::numberStandsAndNeighbours(airport.stands);
    }
    // Reports of another aircraft, standing 8 m off gate G<gate + 1> for half a minute or more.
    std::vector<realtraffic::TrafficReport> standingAtGate(int gate, std::uint32_t hexidOf,
                                                           const std::string& callsign,
                                                           double fromSecond,
                                                           double seconds = 30.0) {
        std::vector<realtraffic::TrafficReport> reports;
        for (double second = fromSecond; second <= fromSecond + seconds; second += 10) {
            auto r = at(second, 60.0 * gate + 5, -6, 0, 0);
            r.hexid = hexidOf;
            r.callsign = callsign;
            reports.push_back(r);
        }
        return reports;
    }
    // Feeds the reports of any number of aircraft when due and lets the simulator create every
    // aircraft asked for.
    void runAll(std::vector<realtraffic::TrafficReport> reports, std::int32_t endTick) {
        std::ranges::stable_sort(reports, {}, &realtraffic::TrafficReport::dueTick);
        std::size_t next = 0;
        while (runState.liveTickCount < endTick) {
            next = feedDue(reports, next);
            tick();
            for (const sim::CreationRequest& request : simulator.queues_.creations) {
                simulator.notices_.post({.objectId = nextObject++,
                                         .key = request.key,
                                         .kind = sim::SimNoticeKind::LiveSpawned});
            }
            simulator.queues_.creations.clear();
        }
    }
    const LiveAircraft* named(const std::string& callsign) const {
        for (const LiveAircraft& ac : traffic.table().aircraft) {
            if (ac.callsign == callsign) return &ac;
        }
        return nullptr;
    }
    // The registration the reference data knows: PH-BXA, a KLM B738.
    void knowRegistration() {
        xml.sections["dbase"] = R"(<d r="PH-BXA" a="KLM" m="B738"/>)";
        corv::test::writeFile(folder / "dbase.xml", xml.text());
        ASSERT_TRUE(reference.readXml(folder / "dbase.xml"));
    }

    sim::ObjectId nextObject = 100;
};

}  // namespace corv::live::test
