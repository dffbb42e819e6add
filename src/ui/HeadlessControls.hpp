#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "status/ControlStates.hpp"

namespace corv::ui {

// Keeps the last state of every control instead of showing it: the controls of a run without
// a display, and the observable controls of tests.
class HeadlessControls final : public status::ControlStates {
  public:
    struct Control {
        std::optional<bool> enabled;
        std::optional<bool> checked;
        std::vector<std::string> entries;
        int selected = -1;
        std::string text;
    };

    void setEnabled(status::ControlId id, bool enabled) override;
    void setChecked(status::ControlId id, bool checked) override;
    void setListEntries(status::ControlId id, std::vector<std::string> entries) override;
    void selectListEntry(status::ControlId id, int index) override;
    void setText(status::ControlId id, std::string text) override;

    // The state of one control; a default state when it was never touched.
    Control control(status::ControlId id) const;

  private:
    mutable std::mutex mutex_;
    std::map<status::ControlId, Control> controls_;
};

}  // namespace corv::ui
