#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "run/Subsystems.hpp"
#include "status/WindowSeam.hpp"

namespace corv::test {

// Every subsystem of a run in one object that records which operations were called.
class FakeSubsystems final : public data::DataFilesPort,
                             public liveries::LiveriesPort,
                             public airports::AirportsPort,
                             public scan::AddonScanPort,
                             public sim::SimulatorPort,
                             public realtraffic::RealTrafficPort,
                             public live::TrafficPort {
  public:
    run::Subsystems subsystems() { return {*this, *this, *this, *this, *this, *this, *this}; }

    std::size_t count(const std::string& name) const {
        return static_cast<std::size_t>(std::count(calls.begin(), calls.end(), name));
    }

    mutable std::vector<std::string> calls;
    // What the fake answers.
    bool flightIsRunning = true;
    bool handshakeSucceeds = true;
    std::size_t liveInSim = 0;
    sim::UserAircraftState user;
    std::optional<double> firstAirportDistance;
    bool parkAirportIsSet = false;
    int staticQueued = 0;
    std::function<void()> whileAwaitingRealTraffic;
    std::vector<realtraffic::TrafficReport> pendingReports;

    // Data files and liveries.
    bool checkForUpdates() override { return note("checkForUpdates", true); }
    bool scannedFileExists() const override { return true; }
    void scanLiveries() override { note("scanLiveries"); }
    bool processScannedLiveries() override { return note("processScannedLiveries", true); }
    void clearLiveryData() override { note("clearLiveryData"); }
    void logMatchingSummary() override { note("logMatchingSummary"); }

    // Airports.
    void readParkAirportList() override { note("readParkAirportList"); }
    void parkAirportTick(bool statusFlag) override {
        note(statusFlag ? "parkAirportTick(true)" : "parkAirportTick(false)");
    }
    bool parkAirportSet() const override { return parkAirportIsSet; }
    bool standListEmpty() const override { return false; }
    void leaveParkAirport() override { note("leaveParkAirport"); }
    bool hasReservedStand() const override { return false; }
    void keepReservedStandFree() override { note("keepReservedStandFree"); }
    std::string recheckParkAirports() override {
        return note("recheckParkAirports", std::string("park airports and stands are okay"));
    }
    void setDestination(const std::string& code) override { note("setDestination " + code); }
    void clearDestination() override { note("clearDestination"); }
    std::optional<double> firstParkAirportDistance() const override { return firstAirportDistance; }
    void removeAllStatic() override { note("removeAllStatic"); }
    void renewStaticParking() override { note("renewStaticParking"); }
    int staticQueuedCount() const override { return staticQueued; }
    void scanAddonAirports() override { note("scanAddonAirports"); }

    // Simulator.
    void expectMajorVersion(const std::string& major) override {
        note("expectMajorVersion " + major);
    }
    void startClient() override { note("startClient"); }
    bool handshake() override { return note("handshake", handshakeSucceeds); }
    void stopClient() override { note("stopClient"); }
    bool flightRunning() const override { return flightIsRunning; }
    bool hasError() const override { return false; }
    void clearQueues() override { note("clearQueues"); }
    sim::UserAircraftState userAircraft() const override { return user; }
    sim::UserAircraftState requestUserState() override { return note("requestUserState", user); }
    void createFlightPlanFolder() override { note("createFlightPlanFolder"); }
    void removeFlightPlanFolder() override { note("removeFlightPlanFolder"); }
    void resetRunState() override { note("resetRunState"); }

    // RealTraffic.
    void setLocation(realtraffic::RealTrafficLocation) override { note("setLocation"); }
    std::size_t takeReports(std::span<realtraffic::TrafficReport> into) override {
        const std::size_t count = std::min(into.size(), pendingReports.size());
        std::copy_n(pendingReports.begin(), count, into.begin());
        pendingReports.erase(pendingReports.begin(),
                             pendingReports.begin() + static_cast<std::ptrdiff_t>(count));
        return count;
    }
    void startPositionServer(const std::string& port) override {
        note("startPositionServer " + port);
    }
    void stopPositionServer() override { note("stopPositionServer"); }
    bool waitForFirstConnection() override {
        if (whileAwaitingRealTraffic) whileAwaitingRealTraffic();
        return note("waitForFirstConnection", true);
    }
    bool connected() const override { return true; }
    void sendSimTime() override { note("sendSimTime"); }
    void sendUserPosition() override { note("sendUserPosition"); }
    void startReceivers() override { note("startReceivers"); }
    void stopReceivers() override { note("stopReceivers"); }
    void setReferencePositionFromUser() override { note("setReferencePositionFromUser"); }
    void setParkAirport(const std::optional<realtraffic::ParkAirport>&) override {
        note("setParkAirport");
    }
    std::int32_t qnh() const override { return 1013; }
    std::int64_t firstReportTime() const override { return 1; }
    void runWatchdog() override { note("runWatchdog"); }
    bool receiverIdle() const override { return false; }
    void setAcceptingTraffic(bool accepting) override {
        note(accepting ? "acceptTraffic" : "refuseTraffic");
    }
    void startCallsignCollection() override { note("startCallsignCollection"); }
    std::unordered_set<std::string> takeSeenCallsigns() override { return {}; }

    // Live traffic.
    void reserveCapacity() override { note("reserveCapacity"); }
    void handleAddingStack() override { note("handleAddingStack"); }
    void removeAllLive() override { note("removeAllLive"); }
    void processSimNotices() override { note("processSimNotices"); }
    void recountLive() override { note("recountLive"); }
    std::size_t liveCountInSim() const override { return liveInSim; }
    void runStaticTwinCheck() override { note("runStaticTwinCheck"); }
    void rebuildCallsignList() override { note("rebuildCallsignList"); }
    void checkUserGroundCollisions() override { note("checkUserGroundCollisions"); }
    void checkUserAirCollisions() override { note("checkUserAirCollisions"); }
    void checkLiveVersusStaticCollisions() override { note("checkLiveVersusStaticCollisions"); }
    void removeBlockedCallsign(const std::string& callsign) override {
        note("removeBlockedCallsign " + callsign);
    }
    void checkParkedVersusStatic() override { note("checkParkedVersusStatic"); }
    void clearHexidLiveryCache() override { note("clearHexidLiveryCache"); }
    void clearNoLiverySet() override { note("clearNoLiverySet"); }
    void logNoLiverySet() override { note("logNoLiverySet"); }
    void removeFarthestLive(std::size_t count) override {
        note("removeFarthestLive " + std::to_string(count));
    }
    void dropFromCallsignList(const std::string& callsign) override {
        note("dropFromCallsignList " + callsign);
    }
    void selectionChanged() override { note("selectionChanged"); }
    void setParkedLights(bool on) override { note(on ? "parkedLightsOn" : "parkedLightsOff"); }

  private:
    void note(const std::string& name) const { calls.push_back(name); }
    template <typename T>
    T note(const std::string& name, T answer) const {
        calls.push_back(name);
        return answer;
    }
};

// A window that records what the program asked of it.
class RecordingWindow final : public status::WindowSeam {
  public:
    void postStart() override { posted.push_back("start"); }
    void postQuit(int code) override { posted.push_back("quit " + std::to_string(code)); }
    void repaintBand(status::Band band) override { repainted.push_back(band); }
    void setTopmost(bool topmost) override { this->topmost = topmost; }
    void showWarning(std::string caption, std::string text) override {
        warnings.push_back(caption + "|" + text);
    }

    std::vector<std::string> posted;
    std::vector<std::string> warnings;
    std::vector<status::Band> repainted;
    bool topmost = false;
};

}  // namespace corv::test
