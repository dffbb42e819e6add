#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "airports/AirportFilesContext.hpp"
#include "support/LogCapture.hpp"
#include "support/ParameterReset.hpp"
#include "support/RecordedControls.hpp"
#include "support/TempFolder.hpp"

namespace corv::airports::test {

// Airline and type codes get indexes in order of first use; two registrations are known.
class FakeIdentities final : public AircraftIdentities {
  public:
    std::optional<common::AircraftIdentity> ofRegistration(
        std::string_view registration) const override {
        if (registration == "PH-BHA") return common::AircraftIdentity{1, 1, 1, false, true};
        return std::nullopt;
    }
    common::AircraftIdentity ofCodes(std::string_view airline,
                                     std::string_view type) const override {
        return {indexOf(airline), 0, indexOf(type), false, false};
    }
    std::string airlineCode(const common::AircraftIdentity& identity) const override {
        return codes_.at(identity.airline);
    }
    std::string typeCode(const common::AircraftIdentity& identity) const override {
        return codes_.at(identity.model);
    }
    std::string text(const common::AircraftIdentity& identity) const override {
        return airlineCode(identity) + "/" + typeCode(identity);
    }
    // Every type spans 40 m unless told otherwise.
    double halfWingspan(const common::AircraftIdentity& identity) const override {
        const auto found = halfSpans.find(typeCode(identity));
        return found == halfSpans.end() ? 20.0 / 1852.0 : found->second;
    }
    std::map<std::string, double> halfSpans;  // nautical miles, by type code

  private:
    common::CodeIndex indexOf(std::string_view code) const {
        for (std::size_t i = 0; i < codes_.size(); ++i)
            if (codes_[i] == code) return static_cast<common::CodeIndex>(i);
        codes_.emplace_back(code);
        return static_cast<common::CodeIndex>(codes_.size() - 1);
    }
    mutable std::vector<std::string> codes_{"", "KLM"};
};

// Serves site paths from a map; unknown paths fail.
class FakeDownloader final : public data::SiteDownloader {
  public:
    bool download(std::string_view sitePath, const std::filesystem::path& target) override {
        requested.emplace_back(sitePath);
        const auto found = files.find(std::string(sitePath));
        if (found == files.end()) return false;
        corv::test::writeFile(target, found->second);
        return true;
    }
    std::string addressOf(std::string_view sitePath) const override {
        return "https://site.example/" + std::string(sitePath);
    }

    std::map<std::string, std::string> files;
    std::vector<std::string> requested;
};

class AirportFilesTest : public ::testing::Test {
  protected:
    AirportFilesTest() {
        corv::test::resetParameters();
        std::filesystem::create_directories(work.path() / "airports");
    }

    // Writes a file below the working folder, creating its folders.
    void put(const std::string& path, const std::string& content) {
        std::filesystem::create_directories((work / path).parent_path());
        corv::test::writeFile(work / path, content);
    }

    corv::test::LogCapture logged;
    corv::test::TempFolder work;
    AirportCatalogue catalogue;
    FakeDownloader downloader;
    FakeIdentities identities;
    corv::test::RecordedControls controls;
    std::vector<int> rangesSet;
    SettingsControls settingsControls{controls, [this](int nm) {
                                          rangesSet.push_back(nm);
                                          settings::RANGE.setCurrent(nm);
                                      }};
    services::MessageLine messages{[] {}};
    std::atomic<int> simNumber{3};
    AirportFilesContext context{work.path(),      catalogue, downloader, identities,
                                settingsControls, messages,  simNumber};
};

// An airport file with the given "parkpos" elements.
inline std::string airportFile(const std::string& stands, const std::string& extraParameters = "") {
    return "<root><parameters>"
           "<parameter name=\"airport_name\" value=\"Schiphol\"/>"
           "<parameter name=\"publisher\" value=\"stock\"/>"
           "<parameter name=\"altitude\" value=\"-11\"/>" +
           extraParameters + "</parameters><parkpositions>" + stands + "</parkpositions></root>";
}

inline CatalogueAirport catalogueAirport(const char* code, std::int32_t standClass) {
    CatalogueAirport airport;
    airport.code = AirportCode(code);
    airport.iata = IataCode("XXX");
    airport.latitude = 52.3;
    airport.longitude = 4.76;
    airport.standClass = standClass;
    return airport;
}

}  // namespace corv::airports::test
