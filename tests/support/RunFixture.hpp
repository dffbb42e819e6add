#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <vector>

#include "app/Run.hpp"
#include "data/EncryptedFile.hpp"
#include "run/RunContext.hpp"
#include "services/MessageLine.hpp"
#include "support/FakeSubsystems.hpp"
#include "support/LogCapture.hpp"
#include "support/ParameterReset.hpp"
#include "ui/HeadlessControls.hpp"
#include "ui/commands/Commands.hpp"

namespace corv::test {

// A whole run wired to fakes: headless controls, a recording window, recording subsystems,
// and a sleeper that only records, so tests drive the run without waiting.
struct RunFixture {
    RunFixture() {
        resetParameters();
        std::filesystem::create_directories(install / "docs");
        installDataFiles();
    }
    ~RunFixture() { resetParameters(); }

    std::chrono::milliseconds sleptInTotal() const {
        std::chrono::milliseconds total{0};
        for (auto pause : sleeps)
            total += pause;
        return total;
    }

    // Small but complete encrypted data files in the installation's input folder.
    void installDataFiles() {
        const std::filesystem::path input = install / "input";
        std::filesystem::create_directories(input);
        writeFile(input / "dbase.xml",
                  "<root><aircrafts><aircraft types=\"B738,B744,C56X,F16,EC35,C172\"/></aircrafts>"
                  "<cargo_types><cargo_type types=\"B744\"/></cargo_types>"
                  "<heavy><hvy types=\"B744\"/></heavy><large><lar types=\"B738\"/></large>"
                  "<buzjet><bzj types=\"C56X\"/></buzjet><high_performance><hpf "
                  "types=\"F16\"/></high_performance>"
                  "<rotorcraft><rot types=\"EC35\"/></rotorcraft>"
                  "<ICAO_airlines><ICAO codes=\"KLM,DLH\"/></ICAO_airlines>"
                  "<cargo_operators><ICAO codes=\"FDX\"/></cargo_operators>"
                  "<simaddonsP3D><simaddonP3D arpts=\"EHAM\"/></simaddonsP3D></root>");
        writeFile(
            input / "airports.xml",
            "<root><airports><ap c=\"EHAM\" i=\"AMS\" la=\"52.31\" lo=\"4.76\" a=\"-11\" s=\"0\"/>"
            "<ap c=\"EDDF\" i=\"FRA\" la=\"50.03\" lo=\"8.57\" a=\"364\" "
            "s=\"0\"/></airports></root>");
        for (const char* name : {"dbase", "airports"}) {
            const std::string plain = std::string(name) + ".xml";
            data::streamEncrypt(data::programKey(), input / plain,
                                input / (std::string(name) + ".enc"));
            std::filesystem::remove(input / plain);
        }
    }

    LogCapture logged;
    TempFolder install;
    TempFolder appData;
    ui::HeadlessControls controls;
    RecordingWindow window;
    status::DisplayState display;
    run::CommandRequests requests;
    services::RunState run;
    services::MessageLine messages{[] {}};
    settings::SettingsFile settings{appData / "parameters.xml", controls, run.stopRequested};
    FakeSubsystems fake;
    liveries::ReferenceData referenceData;
    airports::AirportCatalogue catalogue;
    std::atomic<airports::TimeKey> timeKeyNow{};
    std::vector<std::chrono::milliseconds> sleeps;
    std::function<void()> onSleep;
    std::atomic<int> metaSimNumber{1};
    run::RunContext ctx{run,
                        messages,
                        settings,
                        controls,
                        window,
                        display,
                        requests,
                        fake.subsystems(),
                        referenceData,
                        catalogue,
                        timeKeyNow,
                        install.path(),
                        appData.path(),
                        [this](std::chrono::milliseconds pause) {
                            sleeps.push_back(pause);
                            if (onSleep) onSleep();
                        },
                        metaSimNumber};
    ui::Commands commands{ctx};
    app::Run runner{ctx, commands};
};

}  // namespace corv::test
