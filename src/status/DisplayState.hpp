#pragma once

#include <mutex>
#include <string>

namespace corv::status {

// Receiver status as the window shows it: 1 data flows, 2 no new data, 3 stopped.
inline constexpr int receiverStopped = 3;

// The park airport's figures shown in the parking band.
struct ParkingDisplay {
    bool airportSet = false;  // the band is drawn only while a park airport is set
    std::string code;         // four letters
    bool readWithoutError = false;
    std::string airportName;
    std::string publisher;
    bool handmade = false;
    std::string rtTrafficWeek;
    bool weekInEffect = false;
    bool softInEffect = false;
    std::string qualityFactor;
    std::string reservedStand;  // empty: none set
    bool reservedStandKnown = false;
    int updates = 0;
    int stands = 0;
    int parkedLive = 0;
    double averageParkedHours = 0.0;  // of the parked live aircraft
    int wantedStaticCount = 0;
    int wantedPercentage = 0;
    int staticInSim = 0;
    int staticQueued = 0;
    double staticAverageFit = 0.0;
};

// Everything the window paints besides the controls and the message line: connection flags,
// counters and status texts. Written by the run's threads, read by the painter.
struct DisplaySnapshot {
    // Simulator.
    bool simConnected = false;
    bool simRunning = false;
    std::string simDisplayText;  // the connected simulator, e.g. "Prepar3D v5.3"
    std::string userStand;       // empty when unknown
    std::string userTitle;       // the user aircraft's title; empty when unknown
    bool userWingspanFound = true;

    // RealTraffic.
    bool rtSetup = true;  // from program start until the wait for RealTraffic begins
    bool rtConnected = false;
    std::string rtVersionText;
    int weatherStatus = receiverStopped;
    int trafficStatus = receiverStopped;
    int qnhHectopascal = 0;
    int liveCount = 0;

    // Counters.
    int liveryCount = 0;
    int simaddonCount = 0;
    int thirdpartyCount = 0;

    // Controls band.
    bool tbloRequestShown = false;
    bool staticComputationRunning = false;
    bool parkAirportLoaded = false;
    int minutesToRenewal = 20;
    std::string selectionText;

    ParkingDisplay parking;
};

// The shared, lockable copy of the display values.
class DisplayState {
  public:
    DisplaySnapshot snapshot() const {
        std::lock_guard lock(mutex_);
        return values_;
    }

    template <typename Change>
    void update(Change&& change) {
        std::lock_guard lock(mutex_);
        change(values_);
    }

    void reset() {
        std::lock_guard lock(mutex_);
        values_ = DisplaySnapshot{};
    }

  private:
    mutable std::mutex mutex_;
    DisplaySnapshot values_;
};

}  // namespace corv::status
