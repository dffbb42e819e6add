#include "settings/XmlDocument.hpp"

#include <sstream>

#include "platform/AtomicFile.hpp"

namespace corv::settings {

namespace {
void setAttribute(pugi::xml_node node, const char* name, const char* value) {
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) attribute = node.append_attribute(name);
    attribute.set_value(value);
}
}  // namespace

std::string saveXmlDocument(pugi::xml_document& document, const std::filesystem::path& path) {
    pugi::xml_node declaration = document.first_child();
    if (declaration.type() != pugi::node_declaration) {
        declaration = document.prepend_child(pugi::node_declaration);
    }
    setAttribute(declaration, "version", "1.0");
    setAttribute(declaration, "encoding", "UTF-8");

    std::ostringstream text;
    document.save(text, "  ", pugi::format_default, pugi::encoding_utf8);
    return platform::replaceFileAtomically(path, text.str());
}

}  // namespace corv::settings
