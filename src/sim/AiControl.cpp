#include "sim/AiControl.hpp"

#include "liveries/AircraftCategory.hpp"
#include "services/Log.hpp"
#include "sim/SimIds.hpp"

namespace corv::sim {

namespace {
constexpr std::array<std::uint32_t, 5> flapsData{0, 3072, 10240, 16383, 0};
constexpr std::array<std::uint32_t, 5> throttleData{0, 4914, 8191, 11468, 16383};
constexpr std::uint32_t spoilersOn = 16383;

bool isRotorcraft(int category) {
    return category == liveries::categoryRotorcraft;
}
}  // namespace

void gf_setGear(SimQueues& queues, ObjectId object, int category, bool down) {
    if (isRotorcraft(category)) return;
    queues.queueEvent(object, event::gearSet, down ? 1 : 0);
}

void gf_setFlaps(SimQueues& queues, ObjectId object, int category, int& currentIndex, int index) {
    if (index == currentIndex || isRotorcraft(category)) return;
    if (index >= 0 && index < static_cast<int>(flapsData.size())) {
        queues.queueEvent(object, event::flapsSet, flapsData[static_cast<std::size_t>(index)]);
    } else {
        services::logMarked("gf_setFlaps: invalid flaps index");
    }
    currentIndex = index;
}

void gf_setSpoilers(SimQueues& queues, ObjectId object, int category, bool on) {
    if (isRotorcraft(category)) return;
    queues.queueEvent(object, event::spoilersSet, on ? spoilersOn : 0);
}

void gf_setThrottle(SimQueues& queues, ObjectId object, int& currentIndex, int index) {
    if (index == currentIndex) return;
    if (index >= 0 && index < static_cast<int>(throttleData.size())) {
        queues.queueEvent(object, event::throttleSet,
                          throttleData[static_cast<std::size_t>(index)]);
    }
    currentIndex = index;
}

void startEngines(SimQueues& queues, ObjectId object) {
    queues.queueEvent(object, event::engineAutoStart, 0);
}

void stopEngines(SimQueues& queues, ObjectId object) {
    queues.queueEvent(object, event::engineAutoShutdown, 0);
}

void setAllLights(SimQueues& queues, ObjectId object, const LightValues& values) {
    constexpr std::array<ClientEventId, 7> lights{
        event::navLightsSet, event::beaconLightsSet, event::landingLightsSet, event::taxiLightsSet,
        event::strobesSet,   event::logoLightsSet,   event::cabinLightsSet};
    std::lock_guard lock(queues.simLock());
    for (std::size_t i = 0; i < lights.size(); ++i) {
        queues.events.push_back({object, lights[i], values[i]});
    }
}

void setNavLights(SimQueues& queues, ObjectId object, std::uint32_t value) {
    queues.queueEvent(object, event::navLightsSet, value);
}

void setCabinLights(SimQueues& queues, ObjectId object, std::uint32_t value) {
    queues.queueEvent(object, event::cabinLightsSet, value);
}

}  // namespace corv::sim
