// Reading the reference file, section by section in the order the tables depend on each other.
#include <algorithm>
#include <stdexcept>

#include <fmt/format.h>
#include <gsl/util>

#include "common/UserErrorException.hpp"
#include "data/EncryptedFile.hpp"
#include "liveries/ReferenceData.hpp"
#include "liveries/ReferenceDataError.hpp"
#include "liveries/XmlLists.hpp"
#include "services/FileHelpers.hpp"
#include "services/Log.hpp"

namespace corv::liveries {

namespace fs = std::filesystem;

namespace {
// Room for the records of a full reference file, so that reading does not reallocate.
constexpr std::size_t expectedDbaseRecords = 65536;
}  // namespace

bool ReferenceData::load(const fs::path& inputFolder) {
    const fs::path encrypted = inputFolder / "dbase.enc";
    const fs::path plain = inputFolder / "dbase.xml";
    // The plain text must not stay behind, whatever happens: also after a failed decryption,
    // which may leave part of it, or when an earlier run ended before deleting it.
    const auto removePlain = gsl::finally([&plain] { services::removeFileWarn(plain); });
    if (!fs::exists(encrypted)) {
        throw std::runtime_error(fmt::format("{} not available", encrypted.string()));
    }
    if (!data::decryptToFile(encrypted, plain)) {
        throw std::runtime_error(fmt::format("{} stream decrypt failed", encrypted.string()));
    }
    return readXml(plain);
}

bool ReferenceData::readXml(const fs::path& path) {
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_file(path.c_str());
    if (!parsed) {
        services::logMarked("'{}' not read because of {}", path.string(), parsed.description());
        return false;
    }
    const pugi::xml_node root = document.child("root");
    if (!root) throw UserErrorException(referenceDataErrorCode, "XML root missing: root");
    readRoot(root);
    return true;
}

void ReferenceData::readRoot(pugi::xml_node root) {
    readModels(root);
    readCategories(root);
    readGroups(root);
    readAirlines(root);
    readPublishers(root);
    readWingspans(root);
    readFixes(root);
    readAirports(root);
    readDbase(root);
}

std::unordered_set<common::CodeIndex> ReferenceData::internModels(const TextSet& codes) {
    std::unordered_set<common::CodeIndex> indexes;
    for (const std::string& code : codes)
        indexes.insert(internModel(code));
    return indexes;
}

void ReferenceData::readModels(pugi::xml_node root) {
    modelCodes_ = readRequiredList(root, "aircrafts", "aircraft", "types");
    services::log("\n{:5} ICAO model codes", modelCodes_.size());
    const TextSet cargoTypes = readRequiredList(root, "cargo_types", "cargo_type", "types");

    // The reference types take the first indexes (after the empty code, index 0).
    for (const std::string& code : modelCodes_)
        models_.intern(code);
    models_.startFixing();
    cargoTypes_ = internModels(cargoTypes);
}

void ReferenceData::readCategories(pugi::xml_node root) {
    heavy_ = internModels(readRequiredList(root, "heavy", "hvy", "types"));
    large_ = internModels(readRequiredList(root, "large", "lar", "types"));
    businessJets_ = internModels(readRequiredList(root, "buzjet", "bzj", "types"));
    highPerformance_ = internModels(readRequiredList(root, "high_performance", "hpf", "types"));
    rotorcraft_ = internModels(readRequiredList(root, "rotorcraft", "rot", "types"));
}

void ReferenceData::readGroups(pugi::xml_node root) {
    similarTypes_ = readSortedGroups(root, "similar_types", "similar", "types");
    prefixGroups_ = readSortedGroups(root, "prefixes", "similar", "types");
    services::log("{:5} prefixes", prefixGroups_.size());

    // Each member finds its group with itself first; a member of two groups keeps the first.
    for (const Group& group : prefixGroups_) {
        for (const std::string& member : group) {
            if (prefixMap_.contains(member)) continue;
            Group ordered{member};
            for (const std::string& other : group) {
                if (&other != &member) ordered.push_back(other);
            }
            prefixMap_.emplace(member, std::move(ordered));
        }
    }
}

void ReferenceData::readAirlines(pugi::xml_node root) {
    icaoAirlines_ = readRequiredList(root, "ICAO_airlines", "ICAO", "codes");
    services::log("{:5} ICAO airline codes", icaoAirlines_.size());
    const TextSet cargoOperators = readRequiredList(root, "cargo_operators", "ICAO", "codes");
    services::log("{:5} cargo operators", cargoOperators.size());

    for (const std::string& code : icaoAirlines_)
        airlines_.intern(code);
    for (const std::string& code : cargoOperators)
        cargoOperators_.insert(airlines_.intern(code));
}

void ReferenceData::readPublishers(pugi::xml_node root) {
    TextSet texts;
    for (const pugi::xml_node pub : root.child("publishers").children("pub"))
        texts.insert(pub.attribute("names").as_string());
    for (const std::string& text : texts) {
        Group names = splitList(text);
        if (!names.empty()) publishers_.push_back(std::move(names));
    }
    services::log("{:5} publishers", publishers_.size());
}

void ReferenceData::readWingspans(pugi::xml_node root) {
    for (const pugi::xml_node entry : root.child("wingspans").children("wingspan")) {
        const std::string type = entry.attribute("type").as_string();
        if (type.empty() || !isModelCode(type)) {
            services::logMarked("wingspan model {} is not valid, skipped", type);
            continue;
        }
        wingspans_.add(type,
                       WingspanTable::halfSpanOfMetres(entry.attribute("meters").as_double()));
    }
    wingspans_.fillIndexes([this](std::string_view code) { return internModel(code); });
    if (!wingspans_.empty()) {
        wingspans_.computeCategoryMeans(
            [this](std::string_view code) { return category(internModel(code)); });
    }
}

void ReferenceData::readFixes(pugi::xml_node root) {
    for (const pugi::xml_node fix : root.child("fixes").children("fx")) {
        const std::string_view wrong = fix.attribute("wro").as_string();
        const std::string_view correct = fix.attribute("cor").as_string();
        if (correct.empty() || !isModelCode(correct)) {
            services::logMarked("wrong fix {} -> {}, the latter is not valid", wrong, correct);
        } else if (wrong.empty()) {
            // A fix of the empty code would give every aircraft without a type a type.
            services::logMarked("wrong fix {} -> {}, the former is empty", wrong, correct);
        } else if (!models_.addFix(wrong, correct)) {
            services::logMarked("wrong part of fix: '{}', already exists, skipped", wrong);
        }
    }
    services::log("{:5} fixes", models_.fixCount());
}

void ReferenceData::readAirports(pugi::xml_node root) {
    simAddonAirports_ = readRequiredList(root, "simaddonsP3D", "simaddonP3D", "arpts");
    for (const pugi::xml_node entry : root.child("thirdpartiesP3D").children("thirdpartieP3D")) {
        publisherAirports_.push_back(
            {entry.attribute("pub").as_string(), splitList(entry.attribute("arpts").as_string())});
    }
}

void ReferenceData::readDbase(pugi::xml_node root) {
    dbaseRecords_.reserve(expectedDbaseRecords);
    for (const pugi::xml_node d : root.child("dbase").children("d")) {
        std::string registration = d.attribute("r").as_string();
        // An empty registration would be "found" in every livery title.
        if (registration.empty()) continue;
        dbaseRecords_.push_back(
            {std::move(registration), internAirline(d.attribute("a").as_string()),
             internAirline(d.attribute("o").as_string()), internModel(d.attribute("m").as_string()),
             d.attribute("c").as_bool(), true});
    }
    // Stable, so the first record of a registration in the file is the one that stays.
    std::stable_sort(
        dbaseRecords_.begin(), dbaseRecords_.end(),
        [](const DbaseRecord& a, const DbaseRecord& b) { return a.registration < b.registration; });
    const auto duplicates = std::unique(dbaseRecords_.begin(), dbaseRecords_.end(),
                                        [](const DbaseRecord& a, const DbaseRecord& b) {
                                            return a.registration == b.registration;
                                        });
    dbaseRecords_.erase(duplicates, dbaseRecords_.end());
    services::log("{:5} dbase records read", dbaseRecords_.size());
}

}  // namespace corv::liveries
