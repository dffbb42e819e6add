#include "sim/SimQueues.hpp"

#include <utility>

namespace corv::sim {

void SimQueues::queueCreation(CreationRequest request) {
    std::lock_guard lock(simLock_);
    creations.push_back(std::move(request));
}

void SimQueues::queueEvent(ObjectId object, ClientEventId event, std::uint32_t data) {
    std::lock_guard lock(simLock_);
    events.push_back({object, event, data});
}

void SimQueues::queueRemoval(ObjectId object) {
    std::lock_guard lock(simLock_);
    removals.push_back(object);
}

void SimQueues::handOverPositions() {
    std::unique_lock lock(simLock_, std::try_to_lock);
    if (lock.owns_lock()) sendBuffer.swap(fillBuffer_);
    // After the swap the fill buffer holds what was not sent since the last hand-over.
    fillBuffer_.clear();
}

void SimQueues::clearPositionsAndEvents() {
    std::lock_guard lock(simLock_);
    sendBuffer.clear();
    events.clear();
}

void SimQueues::resetForRun() {
    std::lock_guard lock(simLock_);
    creations.clear();
    events.clear();
    removals.clear();
    sendBuffer.clear();
    pending.clear();
    addedObjects.clear();
    fillBuffer_.clear();
    creations.reserve(reservedEntries);
    removals.reserve(reservedEntries);
    pending.reserve(reservedEntries);
    addedObjects.reserve(reservedEntries);
}

}  // namespace corv::sim
