// Saves a learned file as fast as it can until killed. Prints "saved" after the first save, so
// a kill after that finds a file to check.
#include <cstdio>

#include "airports/NoAircraftIdentities.hpp"
#include "airports/SaveLearned.hpp"

namespace {
using namespace corv;

struct NoSite final : data::SiteDownloader {
    bool download(std::string_view, const std::filesystem::path&) override { return false; }
    std::string addressOf(std::string_view) const override { return {}; }
};

struct NoControls final : status::ControlStates {
    void setEnabled(status::ControlId, bool) override {}
    void setChecked(status::ControlId, bool) override {}
    void setListEntries(status::ControlId, std::vector<std::string>) override {}
    void selectListEntry(status::ControlId, int) override {}
    void setText(status::ControlId, std::string) override {}
};
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: learned_save_burst WORK_FOLDER\n");
        return 2;
    }
    airports::AirportCatalogue catalogue;
    NoSite site;
    airports::NoAircraftIdentities identities;
    NoControls controls;
    airports::SettingsControls settings{controls, [](int) {}};
    services::MessageLine messages{[] {}};
    const std::atomic<int> simNumber{3};
    const airports::AirportFilesContext context{argv[1],  catalogue, site,     identities,
                                                settings, messages,  simNumber};
    airports::LoadedAirport airport;
    airport.code = airports::AirportCode("EHAM");
    airport.publisher = "ORBX Global";
    airport.loaded = true;
    for (int k = 0; k < 200; ++k) {
        airports::Stand stand;
        stand.id = "S" + std::to_string(k);
        stand.latitude = 52.3 + k * 0.0001;
        stand.longitude = 4.76;
        stand.radius = 0.01;
        stand.manual = true;
        airport.stands.push_back(stand);
    }
    for (int round = 0;; ++round) {
        airport.stands[0].cargo = round % 2 == 0;
        airports::saveLearnedFile(airport, context);
        if (round == 0) {
            std::puts("saved");
            std::fflush(stdout);
        }
    }
}
