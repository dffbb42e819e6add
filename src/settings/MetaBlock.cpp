#include "settings/MetaBlock.hpp"

#include <chrono>
#include <string_view>

#include <fmt/format.h>

#include "common/ProgramIdentity.hpp"
#include "services/Log.hpp"
#include "services/TimeText.hpp"

namespace corv::settings {

namespace {
constexpr std::string_view copyrightNotice =
    "Copyright (c) Corvane developers, all rights reserved";

// "Dec 09, 2026" in UTC.
std::string todayText() {
    using namespace std::chrono;
    const year_month_day today{floor<days>(system_clock::now())};
    return fmt::format("{} {:02}, {}", services::monthName(static_cast<unsigned>(today.month())),
                       static_cast<unsigned>(today.day()), static_cast<int>(today.year()));
}

bool appendInfo(pugi::xml_node meta, std::string_view name, const std::string& value) {
    pugi::xml_node info = meta.append_child("info");
    return info && info.append_attribute("name").set_value(std::string(name).c_str()) &&
           info.append_attribute("value").set_value(value.c_str());
}
}  // namespace

bool writeMeta(pugi::xml_node parent, const std::string& versionText, int simNumber) {
    pugi::xml_node meta = parent.child("meta");
    if (!meta) meta = parent.append_child("meta");
    if (!meta) return false;
    while (meta.first_child())
        meta.remove_child(meta.first_child());

    const bool written = appendInfo(meta, "author", std::string(programName)) &&
                         appendInfo(meta, "version", versionText) &&
                         appendInfo(meta, "date", todayText()) &&
                         appendInfo(meta, "copyright", std::string(copyrightNotice));
    appendInfo(meta, "sim", std::to_string(simNumber));
    return written;
}

MetaInfo readMeta(pugi::xml_node parent) {
    MetaInfo info;
    for (pugi::xml_node entry : parent.child("meta").children("info")) {
        const std::string_view name = entry.attribute("name").as_string();
        const char* value = entry.attribute("value").as_string();
        if (name == "author")
            info.author = value;
        else if (name == "version")
            info.version = value;
        else if (name == "date")
            info.date = value;
        else if (name == "copyright")
            info.copyright = value;
        else if (name == "sim")
            info.sim = value;
    }
    if (info.copyright.empty()) services::logMarked("no copyright info in the file?");
    return info;
}

}  // namespace corv::settings
