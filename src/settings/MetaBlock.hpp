#pragma once

#include <string>

#include <pugixml.hpp>

namespace corv::settings {

// The "meta" element that the program's own XML files carry below their root.
struct MetaInfo {
    std::string author;
    std::string version;
    std::string date;
    std::string copyright;
    std::string sim;
};

// Writes (or rewrites) the meta element below parent. True when author, version, date and
// copyright were written.
bool writeMeta(pugi::xml_node parent, const std::string& versionText, int simNumber);

// The values of the meta element below parent; a missing copyright is logged.
MetaInfo readMeta(pugi::xml_node parent);

}  // namespace corv::settings
