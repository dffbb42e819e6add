#include "ui/HeadlessControls.hpp"

namespace corv::ui {

void HeadlessControls::setEnabled(status::ControlId id, bool enabled) {
    std::lock_guard lock(mutex_);
    controls_[id].enabled = enabled;
}

void HeadlessControls::setChecked(status::ControlId id, bool checked) {
    std::lock_guard lock(mutex_);
    controls_[id].checked = checked;
}

void HeadlessControls::setListEntries(status::ControlId id, std::vector<std::string> entries) {
    std::lock_guard lock(mutex_);
    Control& c = controls_[id];
    c.entries = std::move(entries);
    c.selected = -1;
}

void HeadlessControls::selectListEntry(status::ControlId id, int index) {
    std::lock_guard lock(mutex_);
    controls_[id].selected = index;
}

void HeadlessControls::setText(status::ControlId id, std::string text) {
    std::lock_guard lock(mutex_);
    controls_[id].text = std::move(text);
}

HeadlessControls::Control HeadlessControls::control(status::ControlId id) const {
    std::lock_guard lock(mutex_);
    const auto found = controls_.find(id);
    return found != controls_.end() ? found->second : Control{};
}

}  // namespace corv::ui
