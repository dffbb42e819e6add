#pragma once

#include <functional>
#include <string>

namespace corv::platform {

enum class EntryKind { Directory, RegularFile, Other };

// What a walk does with one entry. The path is the folder's path and the entry's names joined
// by "/", valid only during the call. Returning false for a directory leaves it unvisited.
using VisitEntry = std::function<bool(const std::string& path, EntryKind kind)>;

// Visits every entry below the folder, depth first and in the order the system lists each
// folder. A symbolic link counts as what it points to, but a linked folder is not entered,
// so no link can make the walk go round. A folder that cannot be read is passed over.
// Directory types come from the listing itself: a large scenery tree is walked without a
// status query per file.
void walkFolderTree(const std::string& folder, const VisitEntry& visit);

}  // namespace corv::platform
