#pragma once

#include <algorithm>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "sim/DefinitionData.hpp"
#include "sim/SimOperations.hpp"

namespace corv::test {

// A simulator that records every call as a line of text, fails the calls it is told to, and
// hands over the messages a test queued. Data requests are answered from `replies`; a request
// made every second is answered again at every dispatch.
class ScriptedSimulator final : public sim::SimOperations {
  public:
    std::vector<std::string> calls;
    std::deque<sim::SimMessage> waiting;
    std::set<std::string> failing;  // call names: "open", "request 109", "create", ...
    std::map<sim::RequestId, std::vector<std::byte>> replies;
    sim::ObjectId userObject = 1;
    std::uint32_t nextPacketId = 500;

    bool called(const std::string& line) const {
        return std::find(calls.begin(), calls.end(), line) != calls.end();
    }
    std::vector<std::string> callsStartingWith(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const auto& call : calls) {
            if (call.rfind(prefix, 0) == 0) found.push_back(call);
        }
        return found;
    }

    sim::Status open(const std::string& clientName) override {
        return note("open", "open " + clientName);
    }
    sim::Status close() override { return note("close", "close"); }
    sim::Status addToDataDefinition(sim::DefineId define, const std::string& variable,
                                    const std::string& unit, sim::DataType type) override {
        constexpr const char* typeNames[] = {"float64", "int64", "string32", "stringV"};
        return note("define", fmt::format("define {} {} ({}) {}", define, variable, unit,
                                          typeNames[static_cast<int>(type)]));
    }
    sim::Status mapClientEventToSimEvent(sim::ClientEventId event,
                                         const std::string& name) override {
        return note("map", fmt::format("map {} {}", event, name));
    }
    sim::Status addClientEventToNotificationGroup(sim::GroupId group, sim::ClientEventId event,
                                                  bool maskable) override {
        return note("group", fmt::format("group {} {} {}", group, event, maskable));
    }
    sim::Status setNotificationGroupPriority(sim::GroupId group, std::uint32_t priority) override {
        return note("priority", fmt::format("priority {} {}", group, priority));
    }
    sim::Status subscribeToSystemEvent(sim::ClientEventId event, const std::string& name) override {
        return note("subscribe", fmt::format("subscribe {} {}", event, name));
    }
    sim::Status requestDataOnSimObject(sim::RequestId request, sim::DefineId define,
                                       sim::ObjectId object, sim::Period period) override {
        const std::string name = fmt::format("request {}", request);
        const sim::Status status =
            note(name, fmt::format("{} {} {} {}", name, define, object,
                                   period == sim::Period::Once ? "once" : "second"));
        if (!sim::failed(status) && replies.contains(request)) {
            const sim::ObjectDataMessage reply{request, object == 0 ? userObject : object, define,
                                               replies[request]};
            if (period == sim::Period::Second) {
                everySecond.push_back(reply);
            } else {
                waiting.push_back(reply);
            }
        }
        return status;
    }
    sim::Status requestDataOnSimObjectType(sim::RequestId request, sim::DefineId define,
                                           std::uint32_t radius, sim::SimObjectType) override {
        return note("bytype", fmt::format("bytype {} {} {}", request, define, radius));
    }
    sim::Status setDataOnSimObject(sim::DefineId define, sim::ObjectId object,
                                   std::span<const std::byte> data) override {
        return note("setdata", fmt::format("setdata {} {} {}", define, object, data.size()));
    }
    sim::Status transmitClientEvent(sim::ObjectId object, sim::ClientEventId event,
                                    std::uint32_t data, sim::GroupId group) override {
        return note("transmit " + std::to_string(event),
                    fmt::format("transmit {} {} {} {}", object, event, data, group));
    }
    sim::Status aiCreateNonAtcAircraft(const std::string& title, const std::string& tail,
                                       const sim::InitPosition&, sim::RequestId request) override {
        const sim::Status status =
            note("create", fmt::format("create {} {} {}", title, tail, request));
        if (!sim::failed(status)) lastPacketId = ++nextPacketId;
        return status;
    }
    sim::Status aiReleaseControl(sim::ObjectId object, sim::RequestId request) override {
        return note("release", fmt::format("release {} {}", object, request));
    }
    sim::Status aiRemoveObject(sim::ObjectId object, sim::RequestId request) override {
        return note("remove", fmt::format("remove {} {}", object, request));
    }
    sim::Status aiSetAircraftFlightPlan(sim::ObjectId object, const std::string& path,
                                        sim::RequestId request) override {
        return note("flightplan", fmt::format("flightplan {} {} {}", object, path, request));
    }
    sim::Status getLastSentPacketId(std::uint32_t& packetId) override {
        packetId = lastPacketId;
        return failing.contains("packetid") ? -1 : 0;
    }
    sim::Status callDispatch(const std::function<void(const sim::SimMessage&)>& handler) override {
        if (failing.contains("dispatch")) return -1;
        while (!waiting.empty()) {
            const sim::SimMessage message = waiting.front();
            waiting.pop_front();
            handler(message);
        }
        for (const auto& reply : everySecond) {
            handler(reply);
        }
        return 0;
    }

  private:
    sim::Status note(const std::string& name, std::string line) {
        calls.push_back(std::move(line));
        return failing.contains(name) ? -1 : 0;
    }

    std::vector<sim::ObjectDataMessage> everySecond;
    std::uint32_t lastPacketId = 0;
};

// The packed data of the replies the client reads.
inline std::vector<std::byte> userStateData(double latitude, double longitude,
                                            double altitude = 1000.0, std::int64_t year = 2024,
                                            std::int64_t dayOfYear = 60,
                                            std::int64_t secondsOfDay = 3600) {
    sim::DefinitionWriter data;
    data.float64(latitude).float64(longitude).float64(-0.05).float64(0.0).float64(1.5);
    data.float64(altitude).float64(altitude + 20).float64(12.0).float64(140.0);
    data.int64(secondsOfDay).int64(dayOfYear).int64(year).int64(5);
    return data.bytes();
}

inline std::vector<std::byte> nearbyData(double aboveGround, double groundAltitude,
                                         std::int64_t onGround, const std::string& atcId) {
    sim::DefinitionWriter data;
    data.float64(aboveGround).float64(groundAltitude).int64(onGround).string32(atcId);
    return data.bytes();
}

}  // namespace corv::test
