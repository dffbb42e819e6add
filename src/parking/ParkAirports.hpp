#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <string>

#include "airports/AirportFilesContext.hpp"
#include "airports/AirportsPort.hpp"
#include "airports/LoadedAirport.hpp"
#include "airports/ParkAirportList.hpp"
#include "airports/TimeKey.hpp"
#include "parking/ParkingControls.hpp"
#include "parking/StaticParking.hpp"
#include "realtraffic/RealTrafficPort.hpp"
#include "sim/SimulatorPort.hpp"
#include "status/DisplayState.hpp"
#include "status/WindowSeam.hpp"

namespace corv::parking {

struct ParkAirportServices {
    const airports::AirportFilesContext& files;
    airports::LoadedAirport& airport;
    StaticParking& statics;
    sim::SimulatorPort& simulator;
    realtraffic::RealTrafficPort& realTraffic;
    status::DisplayState& display;
    status::WindowSeam& window;
    ParkingControls& controls;
    const std::atomic<airports::TimeKey>& timeKeyNow;
    // Tells the traffic which airport arrivals land at and ground reports come from.
    std::function<void(const std::optional<realtraffic::ParkAirport>&)> announce;
};

// The one airport static parking happens at: the airport the user stands at, or the nearest
// airport of the park airport list in sight while the user flies. Chooses, loads and leaves it,
// keeps the user's stand free, and drives the static parking there.
class ParkAirports final : public airports::AirportsPort {
  public:
    explicit ParkAirports(ParkAirportServices services);

    void setLiveView(LiveGroundView& live) { live_ = &live; }

    void readParkAirportList() override;
    void parkAirportTick(bool statusFlag) override;
    bool parkAirportSet() const override { return park_.has_value(); }
    bool standListEmpty() const override { return services_.airport.stands.empty(); }
    void leaveParkAirport() override;
    bool hasReservedStand() const override { return !services_.airport.reservedStandId.empty(); }
    void keepReservedStandFree() override;
    std::string recheckParkAirports() override;
    void setDestination(const std::string& code) override;
    void clearDestination() override {}
    std::optional<double> firstParkAirportDistance() const override;
    void removeAllStatic() override { services_.statics.removeAll(); }
    void renewStaticParking() override;
    int staticQueuedCount() const override { return services_.statics.queuedCount(); }
    void resetRunState() override;

    // The stand the user's aircraft stands at; empty when none (or in the air).
    std::string standAtUser();
    // The user parked: the stand becomes the airport's reserved stand. Asked for from the
    // simulator client's thread, done by the next tick on the run's.
    void requestRememberUserStand() { rememberRequested_ = true; }
    void rememberUserStand();

  private:
    bool setParkAirport(const airports::AirportCode& code);
    std::string lf_readParkedFile();
    void unloadParkAirport();
    void chooseParkAirport(bool statusFlag, const sim::UserAircraftState& user);
    void checkInSight(const sim::UserAircraftState& user);
    void requestCalculation(bool statusFlag);
    void refreshDisplay();

    ParkAirportServices services_;
    LiveGroundView* live_ = nullptr;
    airports::ParkAirportList list_;
    std::optional<airports::CatalogueAirport> park_;
    bool parkAirportChanged_ = false;
    // The user's stand, kept while the user does not move.
    common::GeoPoint userStandAt_{1000.0, 1000.0};
    std::string userStand_;
    std::atomic<bool> rememberRequested_{false};
};

}  // namespace corv::parking
