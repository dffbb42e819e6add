#pragma once

#include <string>

#include "platform/ReadOnlyFile.hpp"

namespace corv::scan {

// A scenery file met by the folder walk: opened through its folder, reported by its path.
struct SceneryFile {
    const platform::OpenFolder& folder;
    const std::string& name;
    const std::string& path;  // UTF-8: the folder's path, "/" and the name
};

}  // namespace corv::scan
