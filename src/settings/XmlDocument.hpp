#pragma once

#include <filesystem>
#include <string>

#include <pugixml.hpp>

namespace corv::settings {

// Saves with an XML declaration (version "1.0", encoding "UTF-8") first, two-space indentation,
// UTF-8. The file is replaced atomically: readers see the old or the new document, never part
// of one. Returns an empty text on success, else the reason of the failure.
std::string saveXmlDocument(pugi::xml_document& document, const std::filesystem::path& path);

}  // namespace corv::settings
