#pragma once

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include <pugixml.hpp>

namespace corv::test {

// What a parameters.xml holds under a parameter name, in document order.
inline std::vector<std::string> storedValues(const std::filesystem::path& file,
                                             const std::string& name) {
    pugi::xml_document document;
    document.load_file(file.c_str());
    std::vector<std::string> values;
    for (pugi::xml_node node : document.child("root").child("parameters").children("parameter")) {
        if (name == node.attribute("name").as_string())
            values.push_back(node.attribute("value").as_string());
    }
    return values;
}

// The first value stored under the name; empty when there is none.
inline std::string storedValue(const std::filesystem::path& file, const std::string& name) {
    const std::vector<std::string> values = storedValues(file, name);
    return values.empty() ? std::string() : values.front();
}

// The number of parameter elements; 0 when the file does not parse.
inline std::size_t storedCount(const std::filesystem::path& file) {
    pugi::xml_document document;
    if (!document.load_file(file.c_str())) return 0;
    const auto children = document.child("root").child("parameters").children("parameter");
    return static_cast<std::size_t>(std::distance(children.begin(), children.end()));
}

}  // namespace corv::test
