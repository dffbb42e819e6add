#include "settings/ParameterTable.hpp"

namespace corv::settings {

namespace {
std::vector<std::int32_t> steps(std::int32_t first, std::int32_t last, std::int32_t step) {
    std::vector<std::int32_t> values;
    for (std::int32_t v = first; v <= last; v += step)
        values.push_back(v);
    return values;
}

const std::vector<std::int32_t> parkedCountChoices = {0, 10, 25, 50, 75, 100, 500};
}  // namespace

HiddenFlag RANDOM{"RANDOM", true};

CheckBox ALWAYS_ON_TOP{"ALWAYS_ON_TOP", false, {0x8003, 147, "Stay on top"}};
CheckBox NAV_LIGHTS_WHILE_PARKED{"NAV_LIGHTS_WHILE_PARKED", true, {0x8006, 175, "Nav lights"}};
CheckBox AEROWINX{"AEROWINX", false, {0x8008, 203, "Aerowinx"}};
CheckBox GUID_CHANGES{"GUID_CHANGES", true, {0x8005, 203, "GUID changes"}};
CheckBox SCAN_LIVERIES{"SCAN_LIVERIES", true, {0x801E, 147, "Scan for liveries"}};
CheckBox LIG_PRIORITIZE{"LIG_PRIORITIZE", true, {0x8020, 147, "Prioritize"}};
CheckBox SCAN_AIRPORTS{"SCAN_AIRPORTS", true, {0x8022, 175, "Scan for addon airports"}};
CheckBox LIGHT_AIRCRAFT{"LIGHT_AIRCRAFT", true, {0x8029, 203, "Light aircraft"}};
CheckBox HELICOPTERS{"HELICOPTERS", true, {0x802A, 203, "Helicopters"}};
CheckBox HIGH_PERF_AIRCRAFT{"HIGH_PERF_AIRCRAFT", true, {0x802B, 203, "FighterJets"}};
CheckBox AUTO_RANGE{"AUTO_RANGE", true, {0x8033, 231, "Auto radius"}};
CheckBox AIRBORNE_ONLY{"AIRBORNE_ONLY", false, {0x8035, 231, "AirOnly"}};
CheckBox COLLISION_USER_GND{"COLLISION_USER_GND", true, {0x8042, 287, "User ground"}};
CheckBox COLLISION_USER_AIR{"COLLISION_USER_AIR", true, {0x8041, 287, "User air"}};
CheckBox COLLISION_LIVE_PARKED_GND{
    "COLLISION_LIVE_PARKED_GND", false, {0x8043, 287, "Live X parked"}};
CheckBox STRAIGHT_PBS_ONLY{"STRAIGHT_PBS_ONLY", false, {0x8057, 315, "Straight push backs only"}};
CheckBox INITIAL_LOAD_ONLY{"INITIAL_LOAD_ONLY", false, {0x8053, 371, "ILO"}};
CheckBox WEEK{"WEEK", false, {0x8055, 371, "Week"}};
CheckBox PARK_SOFT{"PARK_SOFT", false, {0x8054, 371, "Soft"}};

HiddenNumber MAIN_WINDOW_X{"MAIN_WINDOW_X", 400, -30000, 30000};
HiddenNumber MAIN_WINDOW_Y{"MAIN_WINDOW_Y", 20, -30000, 30000};
HiddenNumber LAST_EPOCH_TIME{"LAST_EPOCH_TIME:", 0, 0, 2147483647};
HiddenNumber CUSTOM_PARKING_PERCENTAGE{"CUSTOM_PARKING_PERCENTAGE", -1, -1, 100};
HiddenNumber HOLDING_THRESHOLD_METERS{"HOLDING_THRESHOLD_METERS", 250, 10, 4000};
HiddenNumber MAX_HOLDING_MINUTES{"MAX_HOLDING_MINUTES", 20, 1, 60};
HiddenNumber MAX_FIT{"MAX_FIT", 47, 0, 47};
HiddenNumber P3D_VERSION{"P3D_VERSION", 5, 5, 6};

ChoiceList<std::int32_t> MATCHING_DEPTH{
    "MATCHING_DEPTH", 4, {1, 2, 3, 4}, {0x8028, 203, "Max aircraft matching depth"}};
ChoiceList<std::int32_t> RANGE{
    "RANGE",
    40,
    {2, 3, 4, 5, 6, 8, 10, 12, 14, 16, 18, 20, 25, 30, 35, 40, 50, 65, 80, 100},
    {0x8032, 231, "Radius:"}};
ChoiceList<std::int32_t> AR_ABOVE_HEIGHT{
    "AR_ABOVE_HEIGHT", 48000, steps(18000, 48000, 3000), {0x8034, 231, "Ah:"}};
ChoiceList<std::int32_t> MAX_PARK_SEL{
    "MAX_PARK_SEL", 500, parkedCountChoices, {0x8050, 315, "Max park (static+live):"}};
ChoiceList<std::int32_t> MAX_LIVE_SEL{
    "MAX_LIVE_SEL", 500, parkedCountChoices, {0x8051, 315, "Max live (park incl):"}};
ChoiceList<std::int32_t> AIRP_RANGE{"AIRP_RANGE", 20, steps(5, 30, 5), {0x8048, 343, "Range:"}};
ChoiceList<std::int32_t> AIRP_HEIGHT{
    "AIRP_HEIGHT",
    18000,
    {2000, 4000, 6000, 8000, 10000, 12000, 14000, 16000, 18000, 36000, 48000},
    {0x8049, 343, "Height above gnd:"}};
ChoiceList<std::int32_t> parking_percentage{
    "parking_percentage", 30, steps(0, 100, 5), {0x8052, 371, "Target: "}};
ChoiceList<float> MAX_FIT_FL{
    "MAX_FIT_FL",
    24.0f,
    {0.5f, 1, 1.5f, 2, 2.5f, 3, 3.5f, 4, 4.5f, 5, 6, 7, 8, 9, 10, 12, 15, 18, 21, 24},
    {0x8056, 371, "Max fit:"}};

HiddenText PROGRAM_VERSION{"PROGRAM_VERSION", ""};
HiddenText SIM_INSTALL_PATH{"SIM_INSTALL_PATH", ""};
HiddenText PORT_NUMBER{"PORT_NUMBER", "10747"};
HiddenText RT_IP_ADDRESS{"RT_IP_ADDRESS", "127.0.0.1"};
HiddenText AIG_VERSION{"AIG_VERSION", ""};
HiddenText DBASE_VERSION{"DBASE_VERSION", ""};
HiddenText AIRPORTS_VERSION{"AIRPORTS_VERSION", ""};
HiddenText LIV_SCAN_VERSION{"LIV_SCAN_VERSION", ""};
HiddenText ADDONS_SCAN_VERSION{"ADDONS_SCAN_VERSION", ""};
std::array<HiddenText, 10> lfolder{{{"lfolder0", ""},
                                    {"lfolder1", ""},
                                    {"lfolder2", ""},
                                    {"lfolder3", ""},
                                    {"lfolder4", ""},
                                    {"lfolder5", ""},
                                    {"lfolder6", ""},
                                    {"lfolder7", ""},
                                    {"lfolder8", ""},
                                    {"lfolder9", ""}}};
std::array<HiddenText, 10> afolder{{{"afolder0", ""},
                                    {"afolder1", ""},
                                    {"afolder2", ""},
                                    {"afolder3", ""},
                                    {"afolder4", ""},
                                    {"afolder5", ""},
                                    {"afolder6", ""},
                                    {"afolder7", ""},
                                    {"afolder8", ""},
                                    {"afolder9", ""}}};

TextBox ALL_INSTALL_PATH{"ALL_INSTALL_PATH", "", {0x8014, 119, "Install path:"}};
TextBox BLOCK_CALLSIGN{"BLOCK_CALLSIGN", "", {0x803C, 259, "Block callsign:"}};
TextBox DESTINATION{"DESTINATION", "", {0x8047, 343, "Destination:"}};
CallsignList CALLSIGN_2_OBJECTID{"CALLSIGN_2_OBJECTID", {0x803F, 259, "cs->oid:"}};

const std::vector<Registration>& registeredParameters() {
    static const std::vector<Registration> lists = [] {
        std::vector<Registration> all;
        const auto hidden = [&](auto& parameter) { all.push_back({&parameter, false}); };
        const auto shown = [&](auto& parameter) { all.push_back({&parameter, true}); };

        hidden(RANDOM);

        for (CheckBox* box : {&ALWAYS_ON_TOP, &NAV_LIGHTS_WHILE_PARKED, &AEROWINX, &GUID_CHANGES,
                              &SCAN_LIVERIES, &LIG_PRIORITIZE, &SCAN_AIRPORTS, &LIGHT_AIRCRAFT,
                              &HELICOPTERS, &HIGH_PERF_AIRCRAFT, &AUTO_RANGE, &AIRBORNE_ONLY,
                              &COLLISION_USER_GND, &COLLISION_USER_AIR, &COLLISION_LIVE_PARKED_GND,
                              &STRAIGHT_PBS_ONLY, &INITIAL_LOAD_ONLY, &WEEK, &PARK_SOFT}) {
            shown(*box);
        }

        hidden(MAIN_WINDOW_X);
        hidden(MAIN_WINDOW_Y);
        hidden(LAST_EPOCH_TIME);
        hidden(CUSTOM_PARKING_PERCENTAGE);
        hidden(HOLDING_THRESHOLD_METERS);
        hidden(MAX_HOLDING_MINUTES);
        hidden(AIRP_HEIGHT);  // also a choice list below; read and written twice alike
        hidden(MAX_FIT);
        hidden(P3D_VERSION);

        for (ChoiceList<std::int32_t>* list :
             {&MATCHING_DEPTH, &RANGE, &AR_ABOVE_HEIGHT, &MAX_PARK_SEL, &MAX_LIVE_SEL, &AIRP_RANGE,
              &AIRP_HEIGHT}) {
            shown(*list);
        }

        for (HiddenText* text :
             {&PROGRAM_VERSION, &SIM_INSTALL_PATH, &PORT_NUMBER, &RT_IP_ADDRESS}) {
            hidden(*text);
        }
        for (HiddenText& folder : lfolder)
            hidden(folder);
        for (HiddenText& folder : afolder)
            hidden(folder);
        for (HiddenText* text : {&AIG_VERSION, &DBASE_VERSION, &AIRPORTS_VERSION, &LIV_SCAN_VERSION,
                                 &ADDONS_SCAN_VERSION}) {
            hidden(*text);
        }
        hidden(DESTINATION);  // its box is filled when a destination is set

        shown(BLOCK_CALLSIGN);
        return all;
    }();
    return lists;
}

float maxFitHours(std::int32_t maxFit) {
    if (maxFit > 43) return 24.0f;
    if (maxFit >= 38) return 21.0f;
    if (maxFit >= 32) return 18.0f;
    if (maxFit >= 26) return 15.0f;
    if (maxFit >= 22) return 12.0f;
    if (maxFit >= 10) return static_cast<float>(maxFit / 2 + 1);    // 10..21 -> 6..11
    if (maxFit >= 1) return static_cast<float>(maxFit + 1) / 2.0f;  // 1..9 -> 1..5
    return 0.5f;
}

void convertMaxFit(status::ControlStates& controls) {
    MAX_FIT_FL.setCurrent(maxFitHours(MAX_FIT.value()));
    // Hours that are no choice (11) leave the list's selection as it was.
    if (const int index = MAX_FIT_FL.currentIndex(); index >= 0) {
        controls.selectListEntry(MAX_FIT_FL.controlId, index);
    }
}

}  // namespace corv::settings
