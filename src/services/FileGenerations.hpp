#pragma once

#include <filesystem>

namespace corv::services {

// Backup copies named by inserting "0" before the last dot of the whole path text:
// parameters.xml -> parameters0.xml; Log.txt -> Log0.txt, Log00.txt, Log000.txt.
// Failures are logged marked and make the result false; nothing is thrown.
bool gf_save1GenerationOf(const std::filesystem::path& path);
bool gf_saveUpto3GenerationsOf(const std::filesystem::path& path);

}  // namespace corv::services
