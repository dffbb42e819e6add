#include "settings/SettingsFile.hpp"

#include <system_error>
#include <type_traits>
#include <variant>

#include <fmt/format.h>
#include <pugixml.hpp>

#include "common/ProgramIdentity.hpp"
#include "services/FileGenerations.hpp"
#include "services/Log.hpp"
#include "services/VersionData.hpp"
#include "settings/ParameterTable.hpp"
#include "settings/XmlDocument.hpp"

namespace corv::settings {

namespace fs = std::filesystem;

namespace {
// Older files have "parameters" as their document element instead of below "root".
pugi::xml_node parametersNode(const pugi::xml_document& document) {
    const pugi::xml_node root = document.child("root");
    return root ? root.child("parameters") : document.child("parameters");
}

template <typename T>
std::string fileText(const T& value) {
    if constexpr (std::is_same_v<T, bool>) {
        return value ? "true" : "false";
    } else if constexpr (std::is_same_v<T, std::string>) {
        return value;
    } else {
        return fmt::format("{}", value);
    }
}

// Flags read the first character ("1", "t", "y" in either case mean true); numbers are
// clamped; a missing value attribute reads as false, 0 or "".
template <typename T>
T fromFile(const Parameter<T>& parameter, pugi::xml_attribute value) {
    if constexpr (std::is_same_v<T, bool>) {
        return value.as_bool();
    } else if constexpr (std::is_same_v<T, std::string>) {
        return value.as_string();
    } else {
        return parameter.clamp(value.as_int());
    }
}

pugi::xml_node appendParameter(pugi::xml_node parameters, const std::string& name,
                               const std::string& value) {
    pugi::xml_node element = parameters.append_child("parameter");
    element.append_attribute("name").set_value(name.c_str());
    element.append_attribute("value").set_value(value.c_str());
    return element;
}

void logClosingBanner() {
    services::log(services::bannerText("", 70));
    services::log("");
}
}  // namespace

std::string builtInVersionText() {
    return fmt::format("{}.{}.{}", programVersionMajor, programVersionMinor, programVersionPatch);
}

SettingsFile::SettingsFile(fs::path file, status::ControlStates& controls,
                           const std::atomic<bool>& stopRequested)
    : file_(std::move(file)), controls_(controls), stopRequested_(stopRequested) {}

bool SettingsFile::loadDocument(pugi::xml_document& document) const {
    if (document.load_file(file_.c_str())) return true;
    document.reset();  // a failed parse leaves a partial tree behind
    // A damaged file is about to be replaced; keep a copy for the user.
    std::error_code ec;
    if (fs::exists(file_, ec)) services::gf_save1GenerationOf(file_);
    return false;
}

void SettingsFile::logValue(const std::string& name, const std::string& valueText,
                            bool quoted) const {
    // Closing down saves several settings; their lines would only flood the log.
    if (stopRequested_) return;
    if (quoted) {
        services::log("{}=\"{}\"", name, valueText);
    } else {
        services::log("{}={}", name, valueText);
    }
}

bool SettingsFile::loadParameters() {
    services::log("");
    services::log(services::bannerText("parameters", 0));

    pugi::xml_document document;
    if (!loadDocument(document)) {
        services::log("{} not found, creating new with default values:", file_.string());
        saveAllParameters(true);
        return true;
    }
    services::log("from '{}'", file_.string());

    if (pugi::xml_node parameters = parametersNode(document)) {
        for (const Registration& registration : registeredParameters()) {
            std::visit(
                [&](auto* parameter) {
                    using T = typename std::remove_pointer_t<decltype(parameter)>::ValueType;
                    const pugi::xml_node element = parameters.find_child_by_attribute(
                        "parameter", "name", parameter->name().c_str());
                    if (element) {
                        parameter->setCurrent(fromFile(*parameter, element.attribute("value")));
                    } else {
                        parameter->setCurrent(parameter->defaultValue());
                        const std::string value = fileText(parameter->value());
                        if (!appendParameter(parameters, parameter->name(), value)) {
                            services::log("{}adding xml parameter {} with {} failed!", "===> ",
                                          parameter->name(), value);
                        }
                    }
                    if (registration.showsInControl) parameter->showCurrent(controls_);
                    logValue(parameter->name(), fileText(parameter->value()),
                             std::is_same_v<T, std::string>);
                },
                registration.parameter);
        }
    }

    if (const std::string failure = saveXmlDocument(document, file_); !failure.empty()) {
        services::logMarked("saving: {} failed", file_.string());
    }
    logClosingBanner();
    return false;
}

void SettingsFile::saveAllParameters(bool useDefaults) {
    pugi::xml_document document;
    pugi::xml_node parameters = document.append_child("root").append_child("parameters");
    if (useDefaults) PROGRAM_VERSION.setDefault(builtInVersionText());

    for (const Registration& registration : registeredParameters()) {
        std::visit(
            [&](auto* parameter) {
                using T = typename std::remove_pointer_t<decltype(parameter)>::ValueType;
                const std::string value =
                    fileText(useDefaults ? parameter->defaultValue() : parameter->value());
                appendParameter(parameters, parameter->name(), value);
                logValue(parameter->name(), value, std::is_same_v<T, std::string>);
                if (registration.showsInControl) parameter->showCurrent(controls_);
            },
            registration.parameter);
    }

    if (const std::string failure = saveXmlDocument(document, file_); !failure.empty()) {
        services::logMarked("saving: {} failed", file_.string());
    }
    logClosingBanner();
}

template <typename T>
void SettingsFile::saveOne(const Parameter<T>& parameter) {
    const std::string value = fileText(parameter.value());
    pugi::xml_document document;
    if (!loadDocument(document)) {
        appendParameter(document.append_child("root").append_child("parameters"), parameter.name(),
                        value);
        if (const std::string failure = saveXmlDocument(document, file_); !failure.empty()) {
            services::logMarked("saving: {} failed", file_.string());
        }
        return;
    }

    const pugi::xml_node root = document.child("root");
    pugi::xml_node parameters = parametersNode(document);
    if (!parameters) {
        pugi::xml_node parent = root ? root : document.root();
        parameters = parent.append_child("parameters");
    }

    bool matched = false;
    for (pugi::xml_node element : parameters.children("parameter")) {
        if (parameter.name() != element.attribute("name").as_string()) continue;
        pugi::xml_attribute attribute = element.attribute("value");
        if (!attribute) attribute = element.append_attribute("value");
        attribute.set_value(value.c_str());
        matched = true;
    }
    if (!matched) appendParameter(parameters, parameter.name(), value);

    logValue(parameter.name(), value, std::is_same_v<T, std::string>);
    if (root) {
        if (const std::string failure = saveXmlDocument(document, file_); !failure.empty()) {
            services::logMarked("saving: {} failed", file_.string());
        }
    } else {
        placeRootLevel(document);
    }
}

void SettingsFile::saveFlag(const Parameter<bool>& parameter) {
    saveOne(parameter);
}
void SettingsFile::saveNumber(const Parameter<std::int32_t>& parameter) {
    saveOne(parameter);
}
void SettingsFile::saveText(const Parameter<std::string>& parameter) {
    saveOne(parameter);
}

void SettingsFile::placeRootLevel(const pugi::xml_document& withoutRoot) {
    services::log("");
    services::log(
        "Placing a root level around a new parameters.xml to make it 100% xml compliance");
    services::log("");
    // The file's own values go into the new one, not the values in memory: the early
    // window-position save comes before the full load, when every other value is still its
    // default. The atomic save replaces the old file in one step.
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("root");
    for (const pugi::xml_node child : withoutRoot.children()) {
        if (child.type() == pugi::node_element) root.append_copy(child);
    }
    if (const std::string failure = saveXmlDocument(document, file_); !failure.empty()) {
        services::logMarked("saving: {} failed", file_.string());
    }
}

void SettingsFile::readWindowPosition(const std::function<void(int, int)>& keepOnScreen) {
    std::error_code ec;
    if (!fs::exists(file_, ec)) return;
    pugi::xml_document document;
    if (const pugi::xml_parse_result result = document.load_file(file_.c_str()); !result) {
        services::log("{} failed to load ({}). Saved as 0.xml and removed.", file_.string(),
                      result.description());
        services::gf_save1GenerationOf(file_);
        fs::remove(file_, ec);
        return;
    }
    const pugi::xml_node parameters = parametersNode(document);
    for (HiddenNumber* position : {&MAIN_WINDOW_X, &MAIN_WINDOW_Y}) {
        const pugi::xml_node element =
            parameters.find_child_by_attribute("parameter", "name", position->name().c_str());
        position->setCurrent(element ? fromFile(*position, element.attribute("value"))
                                     : position->defaultValue());
    }
    keepOnScreen(MAIN_WINDOW_X.defaultValue(), MAIN_WINDOW_Y.defaultValue());
}

namespace {
void removeIfPresent(const fs::path& path) {
    std::error_code ec;
    const bool present = fs::exists(path, ec);
    if (ec) throw fs::filesystem_error("exists", path, ec);
    if (present && !fs::remove(path, ec) && ec) throw fs::filesystem_error("remove", path, ec);
}
}  // namespace

void SettingsFile::convertSettingsIfNeeded(const fs::path& installFolder) {
    if (loadParameters()) {
        // A first start scans everything.
        for (CheckBox* scan : {&SCAN_LIVERIES, &SCAN_AIRPORTS}) {
            scan->setCurrent(true);
            saveFlag(*scan);
            scan->showCurrent(controls_);
        }
        return;
    }

    const std::string stored = PROGRAM_VERSION.value();
    if (stored == PROGRAM_VERSION.defaultValue()) {
        PROGRAM_VERSION.setCurrent(builtInVersionText());
        saveText(PROGRAM_VERSION);
        return;
    }

    const fs::path input = installFolder / "input";
    for (const char* plain : {"airports.xml", "AIG-regcodes.xml", "dbase.xml"}) {
        removeIfPresent(input / plain);
    }
    const services::VersionData old(stored);
    const services::VersionData builtIn(programVersionMajor, programVersionMinor,
                                        programVersionPatch);
    if (old != builtIn) {
        PROGRAM_VERSION.setCurrent(builtInVersionText());
        saveText(PROGRAM_VERSION);
    }
    if (old < builtIn) {
        services::log("This is a version update from {} -> {}", stored, builtInVersionText());
        // Data files of releases before 12 have another format; they are fetched again.
        if (old.major < 12) {
            for (const char* encrypted : {"airports.enc", "AIG-regcodes.enc", "dbase.enc"}) {
                removeIfPresent(input / encrypted);
            }
        }
        std::error_code ec;
        fs::remove_all(installFolder / "new_version", ec);
        if (ec) throw fs::filesystem_error("remove_all", installFolder / "new_version", ec);
    }
}

}  // namespace corv::settings
