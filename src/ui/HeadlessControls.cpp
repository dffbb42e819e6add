#include "ui/HeadlessControls.hpp"

namespace corv::ui {

void HeadlessControls::setEnabled(ControlId id, bool enabled) {
    std::lock_guard lock(mutex_);
    controls_[id].enabled = enabled;
}

void HeadlessControls::setChecked(ControlId id, bool checked) {
    std::lock_guard lock(mutex_);
    controls_[id].checked = checked;
}

void HeadlessControls::setListEntries(ControlId id, std::vector<std::string> entries) {
    std::lock_guard lock(mutex_);
    Control& c = controls_[id];
    c.entries = std::move(entries);
    c.selected = -1;
}

void HeadlessControls::selectListEntry(ControlId id, int index) {
    std::lock_guard lock(mutex_);
    controls_[id].selected = index;
}

void HeadlessControls::setText(ControlId id, std::string text) {
    std::lock_guard lock(mutex_);
    controls_[id].text = std::move(text);
}

HeadlessControls::Control HeadlessControls::control(ControlId id) const {
    std::lock_guard lock(mutex_);
    const auto found = controls_.find(id);
    return found != controls_.end() ? found->second : Control{};
}

}  // namespace corv::ui
