#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "settings/Parameter.hpp"

// Every setting of the program, process-wide from static initialisation to process end.
// The names are the names in parameters.xml.
namespace corv::settings {

// Hidden flag.
extern HiddenFlag RANDOM;

// Check boxes.
extern CheckBox ALWAYS_ON_TOP;
extern CheckBox NAV_LIGHTS_WHILE_PARKED;
extern CheckBox AEROWINX;
extern CheckBox GUID_CHANGES;
extern CheckBox SCAN_LIVERIES;
extern CheckBox LIG_PRIORITIZE;
extern CheckBox SCAN_AIRPORTS;
extern CheckBox LIGHT_AIRCRAFT;
extern CheckBox HELICOPTERS;
extern CheckBox HIGH_PERF_AIRCRAFT;
extern CheckBox AUTO_RANGE;
extern CheckBox AIRBORNE_ONLY;
extern CheckBox COLLISION_USER_GND;
extern CheckBox COLLISION_USER_AIR;
extern CheckBox COLLISION_LIVE_PARKED_GND;
extern CheckBox STRAIGHT_PBS_ONLY;
extern CheckBox INITIAL_LOAD_ONLY;
extern CheckBox WEEK;
extern CheckBox PARK_SOFT;

// Hidden numbers.
extern HiddenNumber MAIN_WINDOW_X;
extern HiddenNumber MAIN_WINDOW_Y;
extern HiddenNumber LAST_EPOCH_TIME;  // stored as "LAST_EPOCH_TIME:"
extern HiddenNumber CUSTOM_PARKING_PERCENTAGE;
extern HiddenNumber HOLDING_THRESHOLD_METERS;
extern HiddenNumber MAX_HOLDING_MINUTES;
extern HiddenNumber MAX_FIT;
extern HiddenNumber P3D_VERSION;

// Choice lists.
extern ChoiceList<std::int32_t> MATCHING_DEPTH;
extern ChoiceList<std::int32_t> RANGE;
extern ChoiceList<std::int32_t> AR_ABOVE_HEIGHT;
extern ChoiceList<std::int32_t> MAX_PARK_SEL;
extern ChoiceList<std::int32_t> MAX_LIVE_SEL;
extern ChoiceList<std::int32_t> AIRP_RANGE;
extern ChoiceList<std::int32_t> AIRP_HEIGHT;
extern ChoiceList<std::int32_t> parking_percentage;
extern ChoiceList<float> MAX_FIT_FL;

// Hidden texts.
extern HiddenText PROGRAM_VERSION;
extern HiddenText SIM_INSTALL_PATH;
extern HiddenText PORT_NUMBER;
extern HiddenText RT_IP_ADDRESS;
extern HiddenText AIG_VERSION;
extern HiddenText DBASE_VERSION;
extern HiddenText AIRPORTS_VERSION;
extern HiddenText LIV_SCAN_VERSION;
extern HiddenText ADDONS_SCAN_VERSION;
// Additional livery folders (searched in index order) and add-on airport scenery folders.
extern std::array<HiddenText, 10> lfolder;
extern std::array<HiddenText, 10> afolder;

// Text boxes.
extern TextBox ALL_INSTALL_PATH;
extern TextBox BLOCK_CALLSIGN;
extern TextBox DESTINATION;  // has a box, but is registered as a hidden text
extern CallsignList CALLSIGN_2_OBJECTID;

using ParameterRef =
    std::variant<Parameter<bool>*, Parameter<std::int32_t>*, Parameter<std::string>*>;

// One entry of the registration lists that drive parameters.xml.
struct Registration {
    ParameterRef parameter;
    bool showsInControl;  // the load shows the value read in the parameter's control
};

// The registered parameters, list after list in their fixed order: hidden flags, check boxes,
// hidden numbers, choice lists, hidden texts, text boxes. AIRP_HEIGHT is registered twice.
const std::vector<Registration>& registeredParameters();

// The older integer form of the maximum fit converted to hours.
float maxFitHours(std::int32_t maxFit);

// MAX_FIT_FL := the hours of MAX_FIT; its list selects them when they are one of its choices.
void convertMaxFit(status::ControlStates& controls);

}  // namespace corv::settings
