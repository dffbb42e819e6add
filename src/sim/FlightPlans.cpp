#include "sim/FlightPlans.hpp"

#include <fstream>
#include <system_error>

#include <fmt/format.h>

#include "common/ProgramIdentity.hpp"
#include "liveries/AircraftCategory.hpp"
#include "services/Log.hpp"

namespace corv::sim {

namespace fs = std::filesystem;

namespace {
std::string codeOrBlanks(const std::string& code) {
    return code.empty() ? std::string(3, ' ') : code;
}
}  // namespace

fs::path flightPlanFolder(const fs::path& appDataFolder) {
    return appDataFolder / std::string(programName) / "orig_dest";
}

fs::path flightPlanFile(const fs::path& folder, ObjectId object) {
    return folder / fmt::format("{}.pln", object);
}

std::string flightPlanText(const std::string& origin, const std::string& destination,
                           int category) {
    const bool ifr = category == liveries::categoryBusinessJet ||
                     category == liveries::categoryLarge || category == liveries::categoryHeavy;
    return fmt::format(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<SimBase.Document Type=\"AceXML\" version=\"4,3\">\n"
        "<FlightPlan.FlightPlan>\n"
        "<FPType>{}</FPType>\n"
        "<DepartureID>{}</DepartureID>\n"
        "<DestinationID>{}</DestinationID>\n"
        "</FlightPlan.FlightPlan>\n"
        "</SimBase.Document>\n"
        "\n",
        ifr ? "IFR" : "VFR", codeOrBlanks(origin), codeOrBlanks(destination));
}

bool writeFlightPlanFile(const fs::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << text;
    return static_cast<bool>(out.flush());
}

bool gf_createFlightPlanFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) services::log("gf_createFlightPlanFolder: {}", error.message());
    return fs::is_directory(folder, error);
}

void gf_removeFlightPlan(const fs::path& folder, ObjectId object) {
    std::error_code error;
    fs::remove(flightPlanFile(folder, object), error);
    if (error) services::log("gf_removeFlightPlan: {}", error.message());
}

void gf_removeFlightPlanFolder(const fs::path& folder) {
    std::error_code error;
    fs::remove_all(folder, error);
    if (error) services::log("gf_removeFlightPlanFolder: {}", error.message());
}

}  // namespace corv::sim
