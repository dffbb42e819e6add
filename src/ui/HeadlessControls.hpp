#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ui/ControlStates.hpp"

namespace corv::ui {

// Keeps the last state of every control instead of showing it: the controls of a run without
// a display, and the observable controls of tests.
class HeadlessControls final : public ControlStates {
  public:
    struct Control {
        std::optional<bool> enabled;
        std::optional<bool> checked;
        std::vector<std::string> entries;
        int selected = -1;
        std::string text;
    };

    void setEnabled(ControlId id, bool enabled) override;
    void setChecked(ControlId id, bool checked) override;
    void setListEntries(ControlId id, std::vector<std::string> entries) override;
    void selectListEntry(ControlId id, int index) override;
    void setText(ControlId id, std::string text) override;

    // The state of one control; a default state when it was never touched.
    Control control(ControlId id) const;

  private:
    mutable std::mutex mutex_;
    std::map<ControlId, Control> controls_;
};

}  // namespace corv::ui
