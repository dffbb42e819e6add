#include "live/AcState.hpp"

#include <array>

namespace corv::live {

std::string_view stateText(AcState state) {
    static constexpr std::array<std::string_view, 5> texts{"buffer", "adding2sim", "active",
                                                           "liveryrespawn", "removingfromsim"};
    return texts.at(static_cast<std::size_t>(state));
}

std::string_view phaseText(AcPhase phase) {
    static constexpr std::array<std::string_view, 8> texts{
        "pushing_back", "pushed_back", "taxi", "take_off", "flying", "parking", "parked", "birth"};
    return texts.at(static_cast<std::size_t>(phase));
}

}  // namespace corv::live
