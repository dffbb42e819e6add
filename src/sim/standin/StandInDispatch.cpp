#include "sim/standin/StandInSimulator.hpp"

#include <algorithm>
#include <cmath>
#include <iterator>

#include <fmt/format.h>

#include "sim/standin/StandInCommon.hpp"

// Dispatch: what is due by the clock (scripted events, periodic replies, frames) and the queue.
namespace corv::sim::standin {

using detail::fail;
using detail::ok;

Status StandInSimulator::callDispatch(const std::function<void(const SimMessage&)>& handler) {
    std::vector<SimMessage> messages;
    {
        std::lock_guard lock(mutex_);
        if (!open_) return fail;
        if (!quit_) advance();
        messages.swap(queue_);
        // After the quit message has been handed over there is nobody left to talk to.
        if (quit_ && messages.empty()) return fail;
    }
    for (auto it = messages.begin(); it != messages.end(); ++it) {
        try {
            handler(*it);
        } catch (...) {
            // The messages after the one that failed wait for the next dispatch.
            std::lock_guard lock(mutex_);
            queue_.insert(queue_.begin(), std::next(it), messages.end());
            throw;
        }
    }
    return ok;
}

void StandInSimulator::advance() {
    refreshUser();
    const double seconds = worldSeconds();
    while (nextScriptedEvent_ < scenario_.events.size() &&
           scenario_.events[nextScriptedEvent_].time <= seconds && !quit_) {
        runScriptedEvent(scenario_.events[nextScriptedEvent_++]);
    }
    if (quit_) return;
    if (scenario_.snapshotEverySeconds && seconds >= nextSnapshotSeconds_) {
        writeSnapshotFiles(scenario_.snapshotRadiusNm);
        nextSnapshotSeconds_ = seconds + *scenario_.snapshotEverySeconds;
    }
    queueSimState();
    queuePeriodic();
    queueFrames();
    tracks_.flushIfDue(clock_->steadyNow());
}

void StandInSimulator::runScriptedEvent(const ScriptedEvent& event) {
    const auto sim = subscription("Sim");
    switch (event.kind) {
        case ScriptedKind::FlightLoaded:
            log(fmt::format("scenario: flight loaded {}", event.fileName));
            // The real simulator names the loaded flight file with this event.
            if (const auto id = subscription("FlightLoaded")) {
                queue_.push_back(FilenameMessage{*id, event.fileName});
            }
            break;
        case ScriptedKind::PositionChanged:
            scenario_.track.clear();
            scenario_.latitude = event.latitude;
            scenario_.longitude = event.longitude;
            scenario_.headingDegrees = event.headingDegrees;
            refreshUser();
            log(fmt::format("scenario: user moved to {:.6f} {:.6f}", event.latitude,
                            event.longitude));
            if (const auto id = subscription("PositionChanged")) {
                queue_.push_back(EventMessage{*id, 0});
            }
            break;
        case ScriptedKind::Quit:
            log("scenario: simulator quits");
            queue_.push_back(QuitMessage{});
            quit_ = true;
            break;
        case ScriptedKind::Pause:
        case ScriptedKind::Resume:
            paused_ = event.kind == ScriptedKind::Pause;
            log(paused_ ? "scenario: flight paused" : "scenario: flight resumed");
            if (sim) {
                queue_.push_back(EventMessage{*sim, paused_ ? 0u : 1u});
                announcedRunning_ = !paused_;
            }
            break;
        case ScriptedKind::FailRequest:
            log("scenario: the next request fails");
            failNextRequest_ = true;
            break;
    }
}

void StandInSimulator::queueSimState() {
    const auto sim = subscription("Sim");
    if (!sim || announcedRunning_ == !paused_) return;
    queue_.push_back(EventMessage{*sim, paused_ ? 0u : 1u});
    announcedRunning_ = !paused_;
}

void StandInSimulator::queuePeriodic() {
    const auto now = clock_->steadyNow();
    for (auto it = periodic_.begin(); it != periodic_.end();) {
        const auto definition = definitions_.find(it->define);
        WorldObject* target = object(it->object);
        if (definition == definitions_.end() || target == nullptr) {
            it = periodic_.erase(it);  // its object has gone
            continue;
        }
        if (it->due <= now) {
            queue_.push_back(ObjectDataMessage{it->request, target->id, it->define,
                                               pack(definition->second, *target)});
            it->due += std::chrono::seconds(1);
            // A client that did not dispatch for long gets one reply, not the backlog.
            if (it->due <= now) it->due = now + std::chrono::seconds(1);
        }
        ++it;
    }
}

void StandInSimulator::queueFrames() {
    const std::chrono::duration<double> sinceOpen = clock_->steadyNow() - frameEpoch_;
    const auto due = static_cast<std::int64_t>(std::floor(sinceOpen.count() * framesPerSecond));
    // A client that stalled gets at most one second of frames, as from a slowed simulator.
    const auto count =
        std::min<std::int64_t>(due - framesSent_, static_cast<std::int64_t>(framesPerSecond));
    framesSent_ = due;
    const auto frame = subscription("Frame");
    if (!frame) return;
    for (std::int64_t i = 0; i < count; ++i) {
        queue_.push_back(FrameMessage{*frame, static_cast<float>(framesPerSecond), 1.0F});
    }
}

}  // namespace corv::sim::standin
