#include "app/CommandLine.hpp"

#include <algorithm>
#include <cctype>

namespace corv::app {

namespace {
bool equalsIgnoringCase(const std::string& text, const char* word) {
    return std::equal(text.begin(), text.end(), word, word + std::char_traits<char>::length(word),
                      [](char a, char b) {
                          return std::tolower(static_cast<unsigned char>(a)) ==
                                 std::tolower(static_cast<unsigned char>(b));
                      });
}
}  // namespace

bool productionModeFromArguments(const std::vector<std::string>& arguments) {
    bool production = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (equalsIgnoringCase(argument, "--production") ||
            equalsIgnoringCase(argument, "/production")) {
            production = true;
        } else if (equalsIgnoringCase(argument, "--no-production") ||
                   equalsIgnoringCase(argument, "/no-production")) {
            production = false;
        }
    }
    return production;
}

}  // namespace corv::app
