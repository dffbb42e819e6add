#pragma once

#include <map>
#include <string>
#include <vector>

#include "status/ControlStates.hpp"

namespace corv::test {

// The window's controls as far as the subsystems set them: the last state of each.
struct RecordedControls final : status::ControlStates {
    void setEnabled(status::ControlId id, bool on) override { enabled[id] = on; }
    void setChecked(status::ControlId id, bool checked) override { ticked[id] = checked; }
    void setListEntries(status::ControlId id, std::vector<std::string> entries) override {
        lists[id] = std::move(entries);
    }
    void selectListEntry(status::ControlId id, int index) override { selected[id] = index; }
    void setText(status::ControlId id, std::string text) override { texts[id] = std::move(text); }

    std::map<status::ControlId, bool> enabled;
    std::map<status::ControlId, bool> ticked;
    std::map<status::ControlId, std::vector<std::string>> lists;
    std::map<status::ControlId, int> selected;
    std::map<status::ControlId, std::string> texts;
};

}  // namespace corv::test
