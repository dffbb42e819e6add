#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "liveries/DbaseXml.hpp"
#include "liveries/LiveryData.hpp"
#include "liveries/LiveryMatch.hpp"
#include "liveries/LiverySource.hpp"
#include "liveries/MatchingIndexes.hpp"
#include "liveries/RandomSource.hpp"
#include "liveries/ReferenceData.hpp"
#include "support/LogCapture.hpp"
#include "support/TempFolder.hpp"

namespace corv::test {

// Plays back the given draws; without any left it draws the last index, so a random choice
// is told apart from taking the first.
class ScriptedRandom final : public liveries::RandomSource {
  public:
    std::size_t below(std::size_t count) override {
        ++draws;
        if (script.empty()) return count - 1;
        const std::size_t next = script.front();
        script.pop_front();
        return next;
    }
    std::deque<std::size_t> script;
    int draws = 0;
};

// The liveries as the traffic sees them: the fixture's indexes, once built.
struct FixtureLiveries final : liveries::LiverySource {
    FixtureLiveries(const std::unique_ptr<liveries::MatchingIndexes>& indexes,
                    liveries::MatchRunState& run)
        : indexes_(indexes), run_(run) {}
    const liveries::MatchingIndexes* indexes() const override { return indexes_.get(); }
    liveries::MatchRunState& runState() override { return run_; }
    const std::unique_ptr<liveries::MatchingIndexes>& indexes_;
    liveries::MatchRunState& run_;
};

// Reference data with a few airlines, types of each category, similar types and prefix
// groups; liveries are given per test.
class MatchingFixture : public ::testing::Test {
  protected:
    MatchingFixture() {
        xml.sections["aircrafts"] =
            R"(<aircraft types="A319,A320,A321,B738,B744,B77W,C172,C182,C25A,EC35,R44,F16"/>)";
        xml.sections["large"] = R"(<lar types="A319,A320,A321,B738"/>)";
        xml.sections["heavy"] = R"(<hvy types="B744,B77W"/>)";
        xml.sections["rotorcraft"] = R"(<rot types="EC35,R44"/>)";
        xml.sections["ICAO_airlines"] = R"(<ICAO codes="KLM,DLH,AAL,ASH,SKW,UAL,ZZZ,PVT"/>)";
        xml.sections["similar_types"] =
            R"(<similar types="A319,A320,A321"/><similar types="B738,B744,B77W"/>)"
            R"(<similar types="C172,C182"/>)";
        xml.sections["prefixes"] = R"(<similar types="D-,OE-,HB-"/>)";
        xml.sections["wingspans"] = R"(<wingspan type="B738" meters="35.8"/>)";
        writeFile(folder / "dbase.xml", xml.text());
        if (!reference.readXml(folder / "dbase.xml")) ADD_FAILURE() << "reference not read";
        referenceLines_ = logged.lines().size();
    }

    // What was logged after the reference data was read.
    std::vector<std::string> loggedLines() const {
        std::vector<std::string> lines = logged.lines();
        lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(referenceLines_));
        return lines;
    }

    liveries::LiveryData livery(std::string title, std::string_view airline, std::string_view model,
                                std::string registration = "", bool cargo = false,
                                std::string_view operatorCode = "") {
        liveries::LiveryData data;
        data.title = std::move(title);
        data.registration = std::move(registration);
        data.airline = reference.internAirline(airline);
        data.operatorIndex = operatorCode.empty() ? 0 : reference.internAirline(operatorCode);
        data.model = reference.internModel(model);
        data.cargo = cargo;
        return data;
    }

    void build(const std::vector<liveries::LiveryData>& list) {
        indexes = std::make_unique<liveries::MatchingIndexes>(list, reference);
        std::vector<liveries::TitledRegistration> inline_;
        for (const auto& entry : list)
            inline_.push_back({entry.title, entry.registration});
        indexes->registrations.addInline(inline_);
        std::unordered_set<std::string> installed;
        for (const auto& entry : list)
            installed.insert(entry.title);
        indexes->registrations.apply(regcodes, installed);
    }

    liveries::MatchAircraft aircraft(std::string_view airline, std::string_view model,
                                     std::string registration = "", bool cargo = false,
                                     std::string_view operatorCode = "") {
        liveries::MatchAircraft ac;
        ac.key.airline = reference.internAirline(airline);
        ac.key.operatorIndex = operatorCode.empty() ? 0 : reference.internAirline(operatorCode);
        ac.key.model = reference.internModel(model);
        ac.key.cargo = cargo;
        ac.category = reference.category(ac.key.model);
        ac.registration = std::move(registration);
        ac.callsign = "CS1";
        ac.description = std::string(airline) + " " + std::string(model);
        return ac;
    }

    bool match(liveries::MatchAircraft& ac) {
        return liveries::matchLivery(ac, {*indexes, reference, run, options, random});
    }
    // The title matching gives the aircraft, empty for none.
    std::string titleFor(liveries::MatchAircraft ac) {
        match(ac);
        return std::string(ac.title);
    }

    LogCapture logged;
    TempFolder folder;
    DbaseXml xml;
    liveries::ReferenceData reference;
    liveries::RegcodeList regcodes;  // applied after the liveries' own registrations
    std::unique_ptr<liveries::MatchingIndexes> indexes;
    liveries::MatchRunState run;
    liveries::MatchOptions options;
    ScriptedRandom random;

  private:
    std::size_t referenceLines_ = 0;
};

}  // namespace corv::test
