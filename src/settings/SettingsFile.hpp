#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include <pugixml.hpp>

#include "settings/Parameter.hpp"
#include "status/ControlStates.hpp"

namespace corv::settings {

// parameters.xml: the registered parameters, loaded at the start of every run and saved one
// at a time whenever a setting changes. Every write replaces the file atomically.
class SettingsFile {
  public:
    SettingsFile(std::filesystem::path file, status::ControlStates& controls,
                 const std::atomic<bool>& stopRequested);

    const std::filesystem::path& path() const noexcept { return file_; }

    // True when the file was missing or damaged and has been created with defaults.
    bool loadParameters();
    void saveAllParameters(bool useDefaults);

    void saveFlag(const Parameter<bool>& parameter);
    void saveNumber(const Parameter<std::int32_t>& parameter);
    void saveText(const Parameter<std::string>& parameter);

    // The early read before the window exists: MAIN_WINDOW_X and MAIN_WINDOW_Y, then
    // keepOnScreen(previous x, previous y). A damaged file is kept as parameters0.xml and removed.
    void readWindowPosition(const std::function<void(int, int)>& keepOnScreen);

    // The full load of every run, with the handling of a program version update.
    void convertSettingsIfNeeded(const std::filesystem::path& installFolder);

  private:
    // False when the file is missing or damaged; a damaged one is first kept as parameters0.xml.
    bool loadDocument(pugi::xml_document& document) const;
    template <typename T>
    void saveOne(const Parameter<T>& parameter);
    void logValue(const std::string& name, const std::string& valueText, bool quoted) const;
    // Rewrites an old file without a root element around its own content.
    void placeRootLevel(const pugi::xml_document& withoutRoot);

    std::filesystem::path file_;
    status::ControlStates& controls_;
    const std::atomic<bool>& stopRequested_;
};

// The program version built into this release, "12.6.0".
std::string builtInVersionText();

}  // namespace corv::settings
