#include "services/ExitReason.hpp"

#include <stdexcept>
#include <unordered_map>

namespace corv::services {

std::string_view exitReasonText(ExitReason reason) {
    static const std::unordered_map<ExitReason, std::string_view> texts = {
        {ExitReason::NotYetSet, "NOT YET SET"},
        {ExitReason::SimWasClosed, "SIM WAS CLOSED"},
        {ExitReason::NewFlight, "NEW FLIGHT"},
        {ExitReason::NewSettings, "NEW SETTINGS"},
        {ExitReason::UserClosedSim, "USER CLOSED SIM"},
        {ExitReason::SimconnectError, "SIMCONNECT ERROR"},
        {ExitReason::ReaderError, "READER ERROR"},
        {ExitReason::SystemError, "SYSTEM ERROR"},
        {ExitReason::NewVersion, "NEW VERSION"},
    };
    return texts.at(reason);
}

bool restartsAfter(ExitReason reason) {
    return reason == ExitReason::NewSettings || reason == ExitReason::SimconnectError ||
           reason == ExitReason::ReaderError;
}

}  // namespace corv::services
