#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <pugixml.hpp>

#include "common/CodeTable.hpp"
#include "common/Fnv1aHash.hpp"
#include "common/ModelCodeTable.hpp"
#include "liveries/DbaseRecord.hpp"
#include "liveries/PublisherAirports.hpp"
#include "liveries/WingspanTable.hpp"

namespace corv::liveries {

// The shipped aircraft reference data: type codes with categories, similar types and
// wingspans, airlines and cargo operators, code fixes, add-on airport publishers and the
// known airframes by registration. Read once per process; afterwards only the code tables
// grow (interning is thread-safe), the other tables are read-only.
class ReferenceData {
  public:
    using Group = std::vector<std::string>;
    using TextSet = std::set<std::string, std::less<>>;

    // Decrypts "dbase.enc" of the input folder to "dbase.xml" beside it, reads that and deletes
    // it again, whatever happens: the plain file must not stay behind. Throws
    // std::runtime_error "{} not available" or "{} stream decrypt failed" (the encrypted
    // file) and corv::UserErrorException code 61 on a structural error; false when the XML
    // does not parse.
    bool load(const std::filesystem::path& inputFolder);
    // Reads a plain reference file into this object, which must still be empty.
    bool readXml(const std::filesystem::path& path);

    common::CodeIndex internAirline(std::string_view code) { return airlines_.intern(code); }
    // Through the fixes once the reference types are in.
    common::CodeIndex internModel(std::string_view code) { return models_.intern(code); }
    // The model codes themselves, for the readers that intern as they go.
    common::ModelCodeTable& modelTable() noexcept { return models_; }
    std::string_view airlineText(common::CodeIndex index) const { return airlines_.text(index); }
    std::string_view modelText(common::CodeIndex index) const { return models_.text(index); }
    std::optional<common::CodeIndex> findModel(std::string_view code) const {
        return models_.find(code);
    }
    std::optional<common::CodeIndex> findAirline(std::string_view code) const {
        return airlines_.find(code);
    }

    // 0 light, 1 business jet, 2 large, 3 heavy, 4 high performance, 5 rotorcraft.
    int category(common::CodeIndex model) const;
    bool isCargoType(common::CodeIndex model) const { return cargoTypes_.contains(model); }
    bool isCargoOperator(common::CodeIndex airline) const {
        return cargoOperators_.contains(airline);
    }
    bool isModelCode(std::string_view code) const { return modelCodes_.contains(code); }

    // Half wingspans in nautical miles; 0 for a model without an entry.
    double halfWingspan(common::CodeIndex model) const { return wingspans_.halfSpan(model); }
    double halfWingspan(std::string_view code) const { return wingspans_.halfSpan(code); }
    double categoryMeanHalfWingspan(int category) const {
        return wingspans_.categoryMean(category);
    }
    double largestHalfWingspan() const { return wingspans_.largest(); }

    std::optional<std::string> fixOf(std::string_view code) const { return models_.fixOf(code); }

    const TextSet& modelCodes() const { return modelCodes_; }
    const TextSet& icaoAirlines() const { return icaoAirlines_; }
    const std::vector<Group>& similarTypes() const { return similarTypes_; }
    const std::vector<Group>& prefixGroups() const { return prefixGroups_; }
    // The group of a registration prefix with the prefix first; nullptr for an unknown one.
    const Group* prefixGroupOf(std::string_view prefix) const;
    const std::vector<Group>& publishers() const { return publishers_; }
    const TextSet& simAddonAirports() const { return simAddonAirports_; }
    const std::vector<PublisherAirports>& publisherAirports() const { return publisherAirports_; }

    // Sorted by registration, one record per registration.
    const std::vector<DbaseRecord>& dbaseRecords() const { return dbaseRecords_; }
    const DbaseRecord* dbaseRecord(std::string_view registration) const;

  private:
    void readRoot(pugi::xml_node root);
    void readModels(pugi::xml_node root);
    void readCategories(pugi::xml_node root);
    void readGroups(pugi::xml_node root);
    void readAirlines(pugi::xml_node root);
    void readPublishers(pugi::xml_node root);
    void readWingspans(pugi::xml_node root);
    void readFixes(pugi::xml_node root);
    void readAirports(pugi::xml_node root);
    void readDbase(pugi::xml_node root);
    std::unordered_set<common::CodeIndex> internModels(const TextSet& codes);

    common::CodeTable airlines_;
    common::ModelCodeTable models_;

    TextSet modelCodes_;
    std::unordered_set<common::CodeIndex> cargoTypes_;
    std::unordered_set<common::CodeIndex> heavy_;
    std::unordered_set<common::CodeIndex> large_;
    std::unordered_set<common::CodeIndex> businessJets_;
    std::unordered_set<common::CodeIndex> highPerformance_;
    std::unordered_set<common::CodeIndex> rotorcraft_;
    std::vector<Group> similarTypes_;
    std::vector<Group> prefixGroups_;
    std::unordered_map<std::string, Group, common::Fnv1aHash, std::equal_to<>> prefixMap_;
    TextSet icaoAirlines_;
    std::unordered_set<common::CodeIndex> cargoOperators_;
    std::vector<Group> publishers_;
    WingspanTable wingspans_;
    TextSet simAddonAirports_;
    std::vector<PublisherAirports> publisherAirports_;
    std::vector<DbaseRecord> dbaseRecords_;
};

}  // namespace corv::liveries
