#include "sim/standin/StandInSimulator.hpp"

#include <fstream>

// What a person or a test sees of the world: snapshots and copies of objects.
namespace corv::sim::standin {

namespace {
constexpr double airportRadiusNm = 0.6;
}  // namespace

std::vector<SnapshotEntry> StandInSimulator::snapshotEntries() {
    refreshUser();
    std::vector<SnapshotEntry> entries;
    for (auto& [id, each] : objects_)
        entries.push_back({&each, groundAt(each)});
    return entries;
}

nlohmann::json StandInSimulator::snapshotJson() {
    std::lock_guard lock(mutex_);
    return worldJson(snapshotEntries(), clock_->utcNow());
}

std::string StandInSimulator::snapshotSvg(double radiusNm) {
    std::lock_guard lock(mutex_);
    const auto entries = snapshotEntries();
    return worldSvg(entries, objects_.at(userObjectId), radiusNm);
}

void StandInSimulator::writeSnapshot(double radiusNm) {
    std::lock_guard lock(mutex_);
    writeSnapshotFiles(radiusNm);
}

void StandInSimulator::writeSnapshotFiles(double radiusNm) {
    const auto entries = snapshotEntries();
    std::ofstream(installFolder_ / "standin-world.json", std::ios::binary | std::ios::trunc)
        << worldJson(entries, clock_->utcNow()).dump(2) << '\n';
    std::ofstream(installFolder_ / "standin-world.svg", std::ios::binary | std::ios::trunc)
        << worldSvg(entries, objects_.at(userObjectId), radiusNm);
    // The apron around the user, where an aircraft's symbol is about its own size.
    std::ofstream(installFolder_ / "standin-airport.svg", std::ios::binary | std::ios::trunc)
        << worldSvg(entries, objects_.at(userObjectId), airportRadiusNm);
    log("world snapshot written");
}

std::optional<WorldObject> StandInSimulator::findObject(ObjectId id) {
    std::lock_guard lock(mutex_);
    refreshUser();
    const WorldObject* found = object(id);
    if (found == nullptr) return std::nullopt;
    return *found;
}

std::size_t StandInSimulator::aiObjectCount() {
    std::lock_guard lock(mutex_);
    return objects_.size() - 1;
}

}  // namespace corv::sim::standin
