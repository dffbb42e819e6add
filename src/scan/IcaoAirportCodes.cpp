#include "scan/IcaoAirportCodes.hpp"

#include <fstream>
#include <string>

#include <fmt/format.h>

#include "common/UserErrorException.hpp"
#include "services/Log.hpp"

namespace corv::scan {

std::set<common::FixedCode<4>> readIcaoAirportCodes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw UserErrorException(522, fmt::format("File '{}' is missing?", path.string()));
    std::set<common::FixedCode<4>> codes;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::size_t start = 0;
        while (start <= line.size()) {
            const std::size_t comma = std::min(line.find(',', start), line.size());
            codes.insert(common::FixedCode<4>(std::string_view(line).substr(start, comma - start)));
            start = comma + 1;
        }
    }
    services::log("{} ICAO codes of airports read", codes.size());
    return codes;
}

}  // namespace corv::scan
