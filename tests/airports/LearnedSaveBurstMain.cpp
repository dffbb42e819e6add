// Saves an airport's learned file as fast as it can until killed. Prints "saved" once the
// first save is done, so a kill after that finds a file to check.
#include <cstdio>

#include "airports/ParkAirportFile.hpp"
#include "data/SiteDownloader.hpp"
#include "services/MessageLine.hpp"
#include "ui/HeadlessControls.hpp"

namespace {
struct NoIdentities final : corv::airports::EntryIdentities {
    std::optional<corv::common::AircraftIdentity> ofRegistration(std::string_view) const override {
        return std::nullopt;
    }
    corv::common::AircraftIdentity ofCodes(std::string_view, std::string_view) const override {
        return {};
    }
    std::string airlineCode(const corv::common::AircraftIdentity&) const override { return "KLM"; }
    std::string typeCode(const corv::common::AircraftIdentity&) const override { return "B738"; }
    std::string text(const corv::common::AircraftIdentity&) const override { return "KLM B738"; }
};
struct NoSite final : corv::data::SiteDownloader {
    bool download(std::string_view, const std::filesystem::path&) override { return false; }
    std::string addressOf(std::string_view path) const override { return std::string(path); }
};
}  // namespace

int main(int argc, char** argv) {
    using namespace corv::airports;
    if (argc != 2) {
        std::fprintf(stderr, "usage: airports_learned_burst FOLDER\n");
        return 2;
    }
    AirportCatalogue catalogue;
    NoIdentities identities;
    NoSite site;
    corv::services::MessageLine messages{[] {}};
    corv::ui::HeadlessControls controls;
    const AirportFileServices services{argv[1],  catalogue, identities,         site,
                                       messages, controls,  [](std::int32_t) {}};
    LoadedAirport airport;
    airport.code = "EHAM";
    airport.publisher = "stock";
    airport.loaded = true;
    for (int number = 1; number <= 300; ++number) {
        Stand stand;
        stand.id = "S" + std::to_string(number);
        stand.number = number;
        OccupancyEntry entry;
        entry.registration = "PH-B" + std::to_string(number);
        entry.origin = 0;
        entry.index = 1;
        entry.day = 1 + number % 7;
        entry.hours = HalfHourSet::range(number % 40, number % 40 + 4);
        stand.entries.push_back(entry);
        airport.stands.push_back(stand);
    }
    for (int round = 0;; ++round) {
        airport.updates = round;
        saveLearnedFile(airport, services);
        if (round == 0) {
            std::puts("saved");
            std::fflush(stdout);
        }
    }
}
