#include "airports/ParkAirportList.hpp"

#include <algorithm>
#include <cmath>
#include <exception>
#include <set>
#include <vector>

#include "platform/AtomicFile.hpp"
#include "services/Log.hpp"
#include "services/MessageLine.hpp"
#include "services/TextFile.hpp"

namespace corv::airports {

namespace {

constexpr std::size_t manyAirports = 3000;

// Pieces between commas, empty ones dropped, nothing trimmed.
std::vector<std::string> pieces(const std::string& line) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= line.size()) {
        const std::size_t comma = std::min(line.find(',', start), line.size());
        if (comma > start) parts.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
    return parts;
}

std::string lineOf(const ParkAirportEntry& entry) {
    std::string line = entry.code.str();
    if (!entry.reservedStand.empty()) line += fmt::format(",{}", entry.reservedStand);
    return line;
}

}  // namespace

ParkAirportList::ParkAirportList(std::filesystem::path workFolder,
                                 const AirportCatalogue& catalogue)
    : file_(workFolder / "airports" / fileName),
      workFolder_(std::move(workFolder)),
      catalogue_(catalogue) {}

bool ParkAirportList::contains(const AirportCode& code) const {
    return std::ranges::any_of(entries_, [&](const ParkAirportEntry& e) { return e.code == code; });
}

bool ParkAirportList::lf_readMyParkAirports(services::MessageLine& messages) {
    entries_.clear();
    bool result = true;
    try {
        std::error_code ec;
        if (!std::filesystem::exists(file_, ec)) {
            services::log("{} not found", file_.string());
        } else {
            std::vector<std::string> lines;
            if (services::readTextLines(file_, lines) == services::Charset::NoneFound)
                throw std::runtime_error(fmt::format("cannot read {}", file_.string()));
            std::set<std::string> taken;
            for (const std::string& line : lines) {
                const std::vector<std::string> parts = pieces(line);
                if (parts.empty()) continue;
                if (parts.size() > 2) {
                    services::logMarked("{}:{} wrong syntax, skipped", fileName, line);
                    continue;
                }
                if (!taken.insert(parts[0]).second) {
                    services::logMarked("{}:{} double, skipped", fileName, parts[0]);
                    continue;
                }
                const AirportCode code(parts[0]);  // throws for an invalid code
                const CatalogueAirport* airport = catalogue_.findAirport(code);
                if (airport == nullptr) {
                    messages.showMessage(fmt::format("airport {} is unknown", parts[0]), true);
                    result = false;
                    continue;
                }
                entries_.push_back({parts.size() == 2 ? parts[1] : std::string{}, airport->latitude,
                                    airport->longitude, 0.0, code});
            }
            if (!entries_.empty()) {
                services::log("\n{:5} park airport{} read from '{}'", entries_.size(),
                              entries_.size() == 1 ? "" : "s", fileName);
            }
            if (entries_.size() > manyAirports) {
                messages.showMessage(
                    fmt::format("Warning: There are a lot of airports ({}), that will cost "
                                "Corvane much cpu time and may cause stutters",
                                entries_.size()),
                    true);
            }
        }
        addMyThirdpartyAirports();
    } catch (const std::exception& e) {
        services::logMarked("{}: {}", "lf_readMyParkAirports", e.what());
        return false;
    }
    return result;
}

void ParkAirportList::addMyThirdpartyAirports() {
    std::error_code ec;
    for (const auto& file :
         std::filesystem::directory_iterator(workFolder_ / "airports" / "my_thirdparty", ec)) {
        if (!file.is_regular_file(ec)) continue;
        const std::string stem = file.path().stem().string();
        if (stem.size() != 4) continue;
        try {
            const AirportCode code(stem);
            const CatalogueAirport* airport = catalogue_.findAirport(code);
            if (airport == nullptr || contains(code)) continue;
            entries_.push_back({{}, airport->latitude, airport->longitude, 0.0, code});
        } catch (const std::exception&) {
            // A file named like no airport code is no airport of ours.
        }
    }
}

void ParkAirportList::writeParkAirportLine() {
    if (entries_.empty()) return;
    const std::string line = lineOf(entries_.front());
    std::vector<std::string> lines;
    std::error_code ec;
    if (std::filesystem::exists(file_, ec)) {
        services::readTextLines(file_, lines);
        const std::string code = entries_.front().code.str();
        const auto same = std::ranges::find_if(lines, [&](const std::string& l) {
            const std::vector<std::string> parts = pieces(l);
            return !parts.empty() && parts[0] == code;
        });
        if (same != lines.end()) {
            *same = line;
            services::log("{}:{} updated stand", fileName, line);
        } else {
            lines.push_back(line);
            services::log("{}:{} new entry", fileName, line);
        }
    } else {
        lines.push_back(line);
        services::log("{} created with {}", fileName, line);
    }
    std::erase_if(lines, [](const std::string& l) { return l.empty(); });
    std::ranges::sort(lines);
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    std::string content;
    for (const std::string& l : lines)
        content += l + "\n";
    if (const std::string error = platform::replaceFileAtomically(file_, content); !error.empty())
        services::logMarked("{}: {}", fileName, error);
}

void ParkAirportList::updateParkAirportDistances(const common::GeoPoint& user,
                                                 bool destinationSet) {
    if (entries_.empty()) return;
    // The first is always current: a destination just put first must not count as in sight.
    ParkAirportEntry& first = entries_.front();
    first.distance = common::distanceNm(user, {first.latitude, first.longitude});
    const bool moved = std::fabs(user.latitude - lastPosition_.latitude) > 1e-8 ||
                       std::fabs(user.longitude - lastPosition_.longitude) > 1e-8;
    if (!moved) return;
    lastPosition_ = user;
    if (destinationSet) return;
    for (ParkAirportEntry& entry : entries_)
        entry.distance = common::distanceNm(user, {entry.latitude, entry.longitude});
    entries_.sort([](const ParkAirportEntry& a, const ParkAirportEntry& b) {
        return a.distance < b.distance;
    });
}

void ParkAirportList::setDestination(const CatalogueAirport& airport) {
    const auto found = std::ranges::find(entries_, airport.code, &ParkAirportEntry::code);
    if (found != entries_.end()) {
        entries_.splice(entries_.begin(), entries_, found);
        return;
    }
    entries_.push_front({{}, airport.latitude, airport.longitude, 0.0, airport.code});
    writeParkAirportLine();
}

}  // namespace corv::airports
