#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corv::status {

using ControlId = std::uint16_t;

// The state of the window's controls, set from any thread. The window implementation hands
// every call over to the window thread; the headless one records them.
class ControlStates {
  public:
    virtual ~ControlStates() = default;

    virtual void setEnabled(ControlId id, bool enabled) = 0;
    virtual void setChecked(ControlId id, bool checked) = 0;
    virtual void setListEntries(ControlId id, std::vector<std::string> entries) = 0;
    // -1 selects nothing.
    virtual void selectListEntry(ControlId id, int index) = 0;
    virtual void setText(ControlId id, std::string text) = 0;
};

}  // namespace corv::status
