#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace corv::liveries {

// One entry of a registration-code list: the registrations painted on one livery.
struct RegcodeRecord {
    std::string title;
    std::vector<std::string> registrations;
    bool special = false;  // never chosen at random for another aircraft
};

// What one list file holds. A title listed without registrations is a title never to be used.
struct RegcodeList {
    std::filesystem::path path;
    std::vector<RegcodeRecord> records;
    std::vector<std::string> dontUseTitles;
    bool erroneous = false;  // something was logged that the user should fix
};

// The shipped list (decrypted): <root><aig><l t="title" r="reg,reg" s="true"/>...</aig></root>.
RegcodeList readAigRegcodeFile(const std::filesystem::path& path);

// A user's list: lines of "title;reg,reg" (a third field is accepted and has no effect);
// "title;" alone names a title never to be used. Lines shorter than 6 characters are skipped.
RegcodeList readUserRegcodeFile(const std::filesystem::path& path);

// Every ".txt" file (any case) directly in the folder, in name order. A folder that cannot be
// read logs its error and marks the result.
struct UserRegcodeFiles {
    std::vector<RegcodeList> lists;
    bool erroneous = false;
};
UserRegcodeFiles readUserRegcodeFiles(const std::filesystem::path& folder);

}  // namespace corv::liveries
