#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "run/RunContext.hpp"
#include "status/ControlStates.hpp"

namespace corv::ui {

// What every control of the window does, and the operations the run uses to keep the controls
// consistent. Handlers run on the window thread; they change parameters and set request flags
// and never wait for the run.
class Commands {
  public:
    explicit Commands(run::RunContext& context) : ctx_(context) {}

    // A button or check box; false when no handler took it.
    bool lf_HandleWMCOMMAND(status::ControlId id);
    bool onButtonCommand(status::ControlId id);
    bool onCheckBoxCommand(status::ControlId id);
    void onListSelected(status::ControlId id, int index, const std::string& text);
    void onEditEnter(status::ControlId id, const std::string& text);

    void setInstallPath(const std::string& text);
    void setBlockCallsign(const std::string& text);
    void unblockCallsign();
    void blockSelected();
    void setDestination(const std::string& text);
    // Makes a known catalogue airport the destination (also for the stored one at start-up).
    void applyDestination(const std::string& code);

    void computeAutoRadius();
    void onAutoRangeChanged();
    void setRange(int nauticalMiles);

    void announceStaticUpdate();
    void lockParkingControls();
    void unlockParkingControls();
    void setParkingControlsEnabled(bool enabled);

    // The controls were set up after the data files were read (until then "Now" stays off).
    void setControlsReady(bool ready) { controlsReady_ = ready; }

  private:
    void onNumberListSelected(status::ControlId id, int index);
    void showNoLog(const std::string& text) { ctx_.messages.showMessage(text, false); }
    void showAndLog(const std::string& text) { ctx_.messages.showMessage(text, true); }

    run::RunContext& ctx_;
    std::atomic<bool> controlsReady_{false};
    std::mutex radiusMutex_;
    int manualRadius_ = -1;  // the radius chosen by hand, kept while the automatic one rules
};

}  // namespace corv::ui
