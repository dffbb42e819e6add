#include "liveries/CfgReader.hpp"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <exception>
#include <optional>
#include <unordered_map>
#include <utility>

#include <fmt/format.h>

#include "common/AircraftIdentity.hpp"
#include "common/TrimSpace.hpp"
#include "common/UpperCase.hpp"
#include "liveries/AircraftCategory.hpp"
#include "liveries/CfgText.hpp"
#include "liveries/ReferenceData.hpp"
#include "services/Log.hpp"

namespace corv::liveries {

namespace fs = std::filesystem;

namespace {

// The highest [fltsim.N] number a file may use; also the number of a header we cannot read.
constexpr std::int32_t maxSectionNumber = 10000;
constexpr std::size_t maxTitleRegistrationLength = 5;

std::string pathText(const fs::path& path) {
    return path.string();
}

// The airframe a private livery shows: the first short registration of the reference data that
// its title contains.
const DbaseRecord* registrationInTitle(const ReferenceData& reference, std::string_view title) {
    for (const DbaseRecord& record : reference.dbaseRecords()) {
        if (!record.registration.empty() &&
            record.registration.size() <= maxTitleRegistrationLength &&
            title.find(record.registration) != std::string_view::npos) {
            return &record;
        }
    }
    return nullptr;
}

struct SectionKeys {
    std::optional<std::string> title;
    std::optional<std::string> parkingCodes;
    std::string airline;  // from the parking codes, when valid
    std::optional<std::string> parkingTypes;
    std::optional<std::string> atcId;
    std::optional<std::string> model;
    std::optional<std::string> sim;
    std::optional<std::string> texture;
};

class SectionParser {
  public:
    SectionParser(const fs::path& path, const std::string& modelCode, bool ivao,
                  CfgReadContext& context, CfgReport& report)
        : path_(path),
          file_(pathText(path)),
          modelCode_(modelCode),
          ivao_(ivao),
          context_(context),
          report_(report) {}

    std::optional<LiveryData> parse(std::vector<std::string_view> lines) {
        while (lines.size() > 1 &&
               (common::trimSpace(lines.back()).empty() || isCfgComment(lines.back())))
            lines.pop_back();
        header_ = lines.front();

        SectionKeys keys;
        for (std::string_view line : lines) {
            if (!readLine(line, keys)) return std::nullopt;
        }

        std::string registration;
        if (keys.atcId) registration = registrationOf(*keys.atcId, keys.title.value_or(""));
        if (!keys.title) {
            incomplete(fmt::format("{} {} misses title", file_, header_));
            return std::nullopt;
        }
        const std::string& title = *keys.title;
        if (keys.airline.empty() && !ivao_) {
            incomplete(fmt::format("{} {} icao_airline is missing, or it has invalid info ", file_,
                                   header_));
        }
        if (!filesInstalled(keys)) return std::nullopt;
        if (title.find("Fictional") != std::string::npos) return std::nullopt;
        if (context_.unusableTitles.contains(title)) return std::nullopt;

        ReferenceData& reference = context_.reference;
        std::string airline = keys.airline;
        if (ivao_) {
            const auto code = airlineInTitle(title);
            if (code && !reference.icaoAirlines().contains(*code)) {
                report_.invalidAirlines.push_back(fmt::format("{:12} in {}", *code, file_));
                return std::nullopt;
            }
            airline = code.value_or("");
        }
        if (airline == "ZZZ") registration.clear();
        const DbaseRecord* record =
            registration.empty() ? nullptr : reference.dbaseRecord(registration);
        if (ivao_ && airline.empty() && !record) {
            incomplete(fmt::format("{} {} misses airlinecode in title: {}{}", file_, header_, title,
                                   registration.empty() ? ", and no regcode"
                                                        : ", and regcode unknown " + registration));
            return std::nullopt;
        }
        if (airline.empty()) {
            if (registration.empty()) {
                if (isHeavy()) {
                    incomplete(
                        fmt::format("'{}' '{}' has no airline and no regcode info", file_, title));
                    return std::nullopt;
                }
                airline = "PVT";
                record = registrationInTitle(reference, title);
                if (record) registration = record->registration;
            } else if (!record) {
                if (isHeavy()) {
                    incomplete(fmt::format("'{}' '{}' has no airline and regcode not in dbase",
                                           file_, title));
                    return std::nullopt;
                }
                airline = "PVT";
            }
        }

        LiveryData livery;
        livery.title = title;
        livery.registration = registration;
        livery.folderRank = context_.folderRank;
        if (record) {
            livery.airline = record->airline;
            livery.operatorIndex = record->operatorIndex;
            livery.model = record->model;
            livery.cargo = record->cargo;
            livery.fromDbase = true;
        } else {
            livery.airline = reference.internAirline(airline);
            livery.model = reference.internModel(modelCode_);
            livery.cargo =
                keys.parkingTypes && keys.parkingTypes->find("CARGO") != std::string::npos;
        }
        if (!context_.titlesSeen.claim(title)) {
            incomplete(ivao_
                           ? fmt::format("{} {} title already exists: {}", file_, header_, title)
                           : fmt::format("{} {} title '{}' already exists", file_, header_, title));
            return std::nullopt;
        }
        return livery;
    }

  private:
    // False when the line makes the whole section unusable.
    bool readLine(std::string_view line, SectionKeys& keys) {
        if (const auto value = cfgValue(line, "title")) {
            if (keys.title) return duplicate("{} {} has more than one title key");
            keys.title = std::string(*value);
        } else if (const auto codes = cfgValue(line, "atc_parking_codes")) {
            if (keys.parkingCodes)
                return duplicate("{} {} has more than one atc_parking_codes key");
            keys.parkingCodes = std::string(*codes);
            // IVAO liveries name their airline in the title instead.
            return ivao_ || readParkingCodes(*codes, keys);
        } else if (const auto types = cfgValue(line, "atc_parking_types")) {
            if (keys.parkingTypes)
                return duplicate("{} {} has more than one atc_parking_types key");
            keys.parkingTypes = common::upperCase(std::string(*types));
        } else if (const auto id = cfgValue(line, "atc_id")) {
            if (keys.atcId) return duplicate("{}, {}, has more than one atc_id key");
            keys.atcId = std::string(*id);
        } else if (const auto model = cfgValue(line, "model")) {
            if (!keys.model) keys.model = std::string(*model);
        } else if (const auto sim = cfgValue(line, "sim")) {
            if (!keys.sim) keys.sim = std::string(*sim);
        } else if (const auto texture = cfgValue(line, "texture")) {
            if (!keys.texture) keys.texture = std::string(*texture);
        }
        return true;
    }

    bool duplicate(fmt::format_string<const std::string&, std::string_view&> format) {
        incomplete(fmt::format(format, file_, header_));
        return false;
    }

    // The first parking code names the airline; a fourth letter X or C (extra, cargo stands)
    // belongs to the stand, not the airline.
    bool readParkingCodes(std::string_view codes, SectionKeys& keys) {
        std::string code(common::trimSpace(codes.substr(0, codes.find(','))));
        if (code.size() == 4 && (code.back() == 'X' || code.back() == 'C')) code.resize(3);
        if (context_.reference.icaoAirlines().contains(code)) {
            keys.airline = code;
        } else if (code == "RFO") {
            return false;  // a livery that exists only for its parking code
        } else {
            report_.invalidAirlines.push_back(fmt::format("{:12} in {}", code, file_));
        }
        return true;
    }

    // One registration, or none for a livery shared by several airframes.
    std::string registrationOf(const std::string& value, const std::string& title) {
        const std::string_view id = std::string_view(value).substr(0, value.find(';'));
        std::vector<std::string_view> items;
        std::size_t start = 0;
        while (true) {
            const auto comma = id.find(',', start);
            items.push_back(
                id.substr(start, comma == std::string_view::npos ? comma : comma - start));
            if (comma == std::string_view::npos) break;
            start = comma + 1;
        }
        const bool invalid = std::any_of(items.begin(), items.end(), [](std::string_view item) {
            return item.empty() || item == " " || item.size() > common::maxRegistrationLength ||
                   item.find('*') != std::string_view::npos;
        });
        if (invalid) {
            incomplete(ivao_ ? fmt::format("invalid atc_id={} in {}", value, title)
                             : fmt::format("invalid atc_id={} in: {}", value, title));
            return {};
        }
        return items.size() == 1 ? std::string(common::trimSpace(items.front())) : std::string();
    }

    bool filesInstalled(const SectionKeys& keys) {
        const fs::path folder = path_.parent_path();
        const fs::path modelFolder = folder / (keys.model ? "model." + *keys.model : "model");
        const fs::path textureFolder =
            folder / (keys.texture ? "texture." + *keys.texture : "texture");
        const fs::path airFile = folder / (keys.sim.value_or("") + ".air");
        if (context_.files.isFolder(modelFolder) && context_.files.isFolder(textureFolder) &&
            context_.files.isFile(airFile)) {
            return true;
        }
        incomplete(pathText(modelFolder) +
                   " or related path does not exist: " + std::string(header_));
        return false;
    }

    // The three letters after the type code in an IVAO title.
    std::optional<std::string> airlineInTitle(std::string_view title) const {
        const auto isWord = [](char c) {
            return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                   c == '_';
        };
        for (auto at = title.find(modelCode_); at != std::string_view::npos;
             at = title.find(modelCode_, at + 1)) {
            std::size_t code = at + modelCode_.size();
            while (code < title.size() && common::isSpace(title[code]))
                ++code;
            if (code + 3 <= title.size() && isWord(title[code]) && isWord(title[code + 1]) &&
                isWord(title[code + 2])) {
                return std::string(title.substr(code, 3));
            }
        }
        return std::nullopt;
    }

    bool isHeavy() const {
        const auto model = context_.reference.findModel(modelCode_);
        return model && context_.reference.category(*model) == categoryHeavy;
    }

    void incomplete(std::string line) { report_.incompleteSections.push_back(std::move(line)); }

    const fs::path& path_;
    const std::string file_;
    const std::string& modelCode_;
    const bool ivao_;
    CfgReadContext& context_;
    CfgReport& report_;
    std::string_view header_;
};

std::string checkedModel(std::string_view code, const std::string& file,
                         const ReferenceData& reference, CfgReport& report);

// The model code of the whole file, from its [General] section; empty when the file cannot
// be used.
std::string fileModel(const std::vector<std::string>& lines, const std::string& file,
                      const ReferenceData& reference, CfgReport& report) {
    const std::optional<std::string_view> code = firstCfgValue(lines, "atc_model");
    if (!code) {
        report.invalidFiles.push_back("Line atc_model= is missing in [General] section of " + file);
        return {};
    }
    return checkedModel(*code, file, reference, report);
}

// The type of an IVAO model set is its folder name "IVAO_<type>" below "IVAO_MTL", with the
// variant letters its folders add taken off again; empty when the path is not of that form.
std::string ivaoFolderModel(const fs::path& path) {
    constexpr std::string_view prefix = "IVAO_";
    const fs::path folder = path.parent_path();
    const std::string name = folder.filename().string();
    if (path.filename() != "aircraft.cfg" || folder.parent_path().filename() != "IVAO_MTL" ||
        folder.parent_path().parent_path().empty() || !name.starts_with(prefix) ||
        name.size() == prefix.size() ||
        !std::all_of(name.begin() + prefix.size(), name.end(), [](char c) {
            return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                   c == '_';
        })) {
        return {};
    }
    std::string code = name.substr(prefix.size());
    if (code.ends_with('w')) code.pop_back();
    std::size_t cut = 0;
    if (code == "B744F" || code == "T154M") cut = 1;
    if (code == "T154B2") cut = 2;
    if (code == "GLID_SH") cut = 3;
    if (code == "GLID_A13" || code == "GLID_A25" || code == "GLID_KA6" || code == "GLID_KA8" ||
        code == "GLID_L13") {
        cut = 4;
    }
    code.resize(code.size() - cut);
    return code;
}

bool isIvaoPath(const fs::path& path) {
    const std::string text = pathText(path);
    return text.find("ivao_x-csl") != std::string::npos ||
           text.find("IVAO_MTL") != std::string::npos;
}

std::string checkedModel(std::string_view code, const std::string& file,
                         const ReferenceData& reference, CfgReport& report) {
    if (reference.isModelCode(code)) return std::string(code);
    if (auto fixed = reference.fixOf(code)) {
        report.fixes.push_back(
            fmt::format("Model fix: {} found in {} changed into {}", code, file, *fixed));
        return std::move(*fixed);
    }
    report.invalidModels.push_back(fmt::format("{:16} in {}", code, file));
    return {};
}

}  // namespace

void CfgReport::append(const CfgReport& other) {
    const auto add = [](std::vector<std::string>& to, const std::vector<std::string>& from) {
        to.insert(to.end(), from.begin(), from.end());
    };
    add(invalidAirlines, other.invalidAirlines);
    add(invalidModels, other.invalidModels);
    add(fixes, other.fixes);
    add(invalidFiles, other.invalidFiles);
    add(incompleteSections, other.incompleteSections);
    add(filesWithoutSections, other.filesWithoutSections);
}

bool TitlesSeen::claim(const std::string& title) {
    const std::lock_guard lock(mutex_);
    return titles_.insert(title).second;
}

namespace {
// The entries of the folder last asked about, on this reader thread: the sections of one
// aircraft.cfg all ask about the same folder, and one listing answers them all.
struct FolderListing {
    enum class Kind { Folder, File, Other };

    Kind kindOf(const fs::path& path) {
        const fs::path parent = path.parent_path();
        if (parent != folder_) {
            folder_ = parent;
            entries_.clear();
            std::error_code error;
            for (fs::directory_iterator it(parent, error), end; !error && it != end;
                 it.increment(error)) {
                std::error_code typeError;
                const Kind kind = it->is_directory(typeError)      ? Kind::Folder
                                  : it->is_regular_file(typeError) ? Kind::File
                                                                   : Kind::Other;
                entries_.emplace(it->path().filename().string(), kind);
            }
        }
        const auto found = entries_.find(path.filename().string());
        return found == entries_.end() ? Kind::Other : found->second;
    }

  private:
    fs::path folder_;
    std::unordered_map<std::string, Kind> entries_;
};

FolderListing& threadListing() {
    thread_local FolderListing listing;
    return listing;
}
}  // namespace

LiveryFileCheck LiveryFileCheck::fileSystem() {
    return {[](const fs::path& path) {
                return threadListing().kindOf(path) == FolderListing::Kind::Folder;
            },
            [](const fs::path& path) {
                return threadListing().kindOf(path) == FolderListing::Kind::File;
            }};
}

namespace {

// `path` names the file in messages and gives the folder of the livery files.
CfgReadResult readAircraftCfgLines(const std::vector<std::string>& lines, const fs::path& path,
                                   CfgReadContext& context) {
    CfgReadResult result;
    const std::string file = pathText(path);

    bool anySection = false;
    for (const std::string& line : lines) {
        const auto header = fltsimHeader(line);
        if (!header) continue;
        anySection = true;
        std::int32_t number = maxSectionNumber;
        if (!header->empty()) {
            const char* end = header->data() + header->size();
            const auto [stop, error] = std::from_chars(header->data(), end, number);
            if (error != std::errc() || stop != end) {
                services::logMarked("fltsim num {} incorrect", *header);
                return result;
            }
        }
        if (number < 0 || number > maxSectionNumber) {
            result.report.invalidFiles.push_back(
                fmt::format("{} contains a [fltsim.x] section with a number < 0 or > {}", file,
                            maxSectionNumber));
            return result;
        }
    }
    if (!anySection) {
        result.report.filesWithoutSections.push_back(file);
        return result;
    }

    const bool ivao = isIvaoPath(path);
    std::string modelCode;
    if (!ivao) {
        modelCode = fileModel(lines, file, context.reference, result.report);
    } else if (const std::string folderModel = ivaoFolderModel(path); !folderModel.empty()) {
        modelCode = checkedModel(folderModel, file, context.reference, result.report);
    }
    if (modelCode.empty()) return result;

    SectionParser parser(path, modelCode, ivao, context, result.report);
    const auto parseSection = [&](const std::vector<std::string_view>& section) {
        try {
            if (auto livery = parser.parse(section)) result.liveries.push_back(std::move(*livery));
        } catch (const std::exception& e) {
            services::log("Exception in lf_procesFltSimSection: {}, file: {}", e.what(), file);
        }
    };
    forEachFltsimSection(lines, parseSection);
    return result;
}

}  // namespace

CfgReadResult readAircraftCfg(const fs::path& path, CfgReadContext& context) {
    threadListing() = {};  // the folders may have changed since this thread last looked
    const auto lines = readCfgLines(path);
    if (!lines) return {};
    return readAircraftCfgLines(*lines, path, context);
}

}  // namespace corv::liveries
