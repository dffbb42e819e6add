#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <vector>

#include "app/MessageLine.hpp"
#include "app/Run.hpp"
#include "app/RunContext.hpp"
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
    }
    ~RunFixture() { resetParameters(); }

    std::chrono::milliseconds sleptInTotal() const {
        std::chrono::milliseconds total{0};
        for (auto pause : sleeps)
            total += pause;
        return total;
    }

    LogCapture logged;
    TempFolder install;
    TempFolder appData;
    ui::HeadlessControls controls;
    RecordingWindow window;
    ui::DisplayState display;
    ui::CommandRequests requests;
    common::TrafficRadius radius;
    app::RunState run;
    app::MessageLine messages{[] {}};
    settings::SettingsFile settings{appData / "parameters.xml", controls, run.stopRequested};
    FakeSubsystems fake;
    std::vector<std::chrono::milliseconds> sleeps;
    std::function<void()> onSleep;
    std::atomic<int> metaSimNumber{1};
    app::RunContext ctx{run,
                        messages,
                        settings,
                        controls,
                        window,
                        display,
                        requests,
                        radius,
                        fake.subsystems(),
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
