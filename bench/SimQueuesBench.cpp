#include <benchmark/benchmark.h>

#include <memory>

#include "airports/AirportCatalogue.hpp"
#include "liveries/ReferenceData.hpp"
#include "services/MessageLine.hpp"
#include "services/RunState.hpp"
#include "sim/SimClient.hpp"
#include "sim/SimIds.hpp"
#include "status/DisplayState.hpp"
#include "status/WindowSeam.hpp"
#include "support/QuietWindow.hpp"

namespace {

using namespace corv;

// A simulator that accepts everything at no cost, so only the client's own work is measured.
class IdleSimulator final : public sim::SimOperations {
  public:
    sim::Status open(const std::string&) override { return 0; }
    sim::Status close() override { return 0; }
    sim::Status addToDataDefinition(sim::DefineId, const std::string&, const std::string&,
                                    sim::DataType) override {
        return 0;
    }
    sim::Status mapClientEventToSimEvent(sim::ClientEventId, const std::string&) override {
        return 0;
    }
    sim::Status addClientEventToNotificationGroup(sim::GroupId, sim::ClientEventId, bool) override {
        return 0;
    }
    sim::Status setNotificationGroupPriority(sim::GroupId, std::uint32_t) override { return 0; }
    sim::Status subscribeToSystemEvent(sim::ClientEventId, const std::string&) override {
        return 0;
    }
    sim::Status requestDataOnSimObject(sim::RequestId, sim::DefineId, sim::ObjectId,
                                       sim::Period) override {
        return 0;
    }
    sim::Status requestDataOnSimObjectType(sim::RequestId, sim::DefineId, std::uint32_t,
                                           sim::SimObjectType) override {
        return 0;
    }
    sim::Status setDataOnSimObject(sim::DefineId, sim::ObjectId,
                                   std::span<const std::byte> data) override {
        benchmark::DoNotOptimize(data.data());
        return 0;
    }
    sim::Status transmitClientEvent(sim::ObjectId, sim::ClientEventId, std::uint32_t,
                                    sim::GroupId) override {
        return 0;
    }
    sim::Status aiCreateNonAtcAircraft(const std::string&, const std::string&,
                                       const sim::InitPosition&, sim::RequestId) override {
        return 0;
    }
    sim::Status aiReleaseControl(sim::ObjectId, sim::RequestId) override { return 0; }
    sim::Status aiRemoveObject(sim::ObjectId, sim::RequestId) override { return 0; }
    sim::Status aiSetAircraftFlightPlan(sim::ObjectId, const std::string&,
                                        sim::RequestId) override {
        return 0;
    }
    sim::Status getLastSentPacketId(std::uint32_t& packetId) override {
        packetId = 1;
        return 0;
    }
    sim::Status callDispatch(const std::function<void(const sim::SimMessage&)>&) override {
        return 0;
    }
};

struct Client {
    services::RunState run;
    services::MessageLine messages{[] {}};
    status::DisplayState display;
    test::QuietWindow window;
    airports::AirportCatalogue catalogue;
    liveries::ReferenceData reference;
    sim::SimClient client{sim::SimClientContext{run,
                                                messages,
                                                display,
                                                window,
                                                catalogue,
                                                reference,
                                                {},
                                                [](std::chrono::milliseconds) {},
                                                {},
                                                {}},
                          [] { return std::make_unique<IdleSimulator>(); }};

    Client() {
        client.expectMajorVersion("5");
        client.makeConnection();
        client.open();
    }
};

// One frame with a full tick of positions: the run cycle hands over 500 updates and the frame
// sends them.
void flushSimQueuesWith500Positions(benchmark::State& state) {
    Client c;
    sim::SimQueues& queues = c.client.queues();
    for (auto _ : state) {
        for (sim::ObjectId object = 0; object < 500; ++object) {
            queues.addPosition({.latitude = 52.0, .longitude = 4.0, .objectId = 100 + object});
        }
        queues.handOverPositions();
        c.client.flushSimQueues();
    }
    state.SetItemsProcessed(state.iterations() * 500);
}
BENCHMARK(flushSimQueuesWith500Positions);

// What one pass of the dispatch loop costs when the simulator has nothing waiting.
void idleDispatchPass(benchmark::State& state) {
    Client c;
    for (auto _ : state) {
        benchmark::DoNotOptimize(c.client.dispatchWaiting());
    }
}
BENCHMARK(idleDispatchPass);

}  // namespace
