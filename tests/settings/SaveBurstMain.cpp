// Saves settings as fast as it can, in every way the program saves them, until killed. Prints
// "saved" once every kind of save has been done, so a kill after that finds a file to check.
#include <atomic>
#include <cstdio>

#include "settings/ParameterTable.hpp"
#include "settings/SettingsFile.hpp"
#include "ui/HeadlessControls.hpp"

int main(int argc, char** argv) {
    using namespace corv::settings;
    if (argc != 2) {
        std::fprintf(stderr, "usage: settings_save_burst PARAMETERS_XML\n");
        return 2;
    }
    corv::ui::HeadlessControls controls;
    const std::atomic<bool> stopRequested{false};
    SettingsFile settings(argv[1], controls, stopRequested);
    settings.loadParameters();
    for (int round = 0;; ++round) {
        SCAN_LIVERIES.setCurrent(round % 2 == 0);
        settings.saveFlag(SCAN_LIVERIES);
        RANGE.setCurrent(2 + round % 90);
        settings.saveNumber(RANGE);
        DESTINATION.setCurrent(round % 3 == 0 ? "" : "EHAM");
        settings.saveText(DESTINATION);
        if (round % 10 == 0) settings.saveAllParameters(false);
        if (round == 0) {
            std::puts("saved");
            std::fflush(stdout);
        }
    }
}
