#pragma once

#include <atomic>
#include <cstdint>

#include "settings/Parameter.hpp"
#include "status/ControlStates.hpp"

namespace corv::ui {

// Fills a number list: its choices as decimal texts, then the entry of the current value
// selected (none when the value is no choice).
void fillList(status::ControlStates& controls, const settings::ChoiceList<std::int32_t>& list);

// Sets every control's state once the settings and data files of a run have been read, and
// marks the settings file's meta block as written by this program (simulator number 3).
void enableControlsAfterRead(status::ControlStates& controls, std::atomic<int>& metaSimNumber);

}  // namespace corv::ui
