#include "platform/FolderTreeWalk.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace corv::platform {
namespace {

EntryKind kindOfMode(mode_t mode) {
    if (S_ISDIR(mode)) return EntryKind::Directory;
    if (S_ISREG(mode)) return EntryKind::RegularFile;
    return EntryKind::Other;
}

EntryKind followedKind(int folder, const char* name) {
    struct stat status {};
    return ::fstatat(folder, name, &status, 0) == 0 ? kindOfMode(status.st_mode) : EntryKind::Other;
}

// The entry's kind, and whether it is a folder of its own that the walk may enter.
struct Kind {
    EntryKind kind = EntryKind::Other;
    bool enterable = false;
};

Kind kindOf(int folder, const dirent& entry) {
    switch (entry.d_type) {
        case DT_DIR:
            return {EntryKind::Directory, true};
        case DT_REG:
            return {EntryKind::RegularFile, false};
        case DT_LNK:
            return {followedKind(folder, entry.d_name), false};
        case DT_UNKNOWN: {
            // Some file systems do not tell the type in the listing.
            struct stat status {};
            if (::fstatat(folder, entry.d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) return {};
            if (S_ISLNK(status.st_mode)) return {followedKind(folder, entry.d_name), false};
            return {kindOfMode(status.st_mode), S_ISDIR(status.st_mode)};
        }
        default:
            return {};
    }
}

// Walks the open folder (the descriptor is handed over) whose path is in `path`; the path
// grows by each entry's name during its visit and is restored after it.
void walkOpenFolder(int descriptor, std::string& path, const VisitEntry& visit) {
    DIR* const folder = ::fdopendir(descriptor);
    if (folder == nullptr) {
        ::close(descriptor);
        return;
    }
    const std::size_t pathSize = path.size();
    while (const dirent* entry = ::readdir(folder)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        const Kind kind = kindOf(::dirfd(folder), *entry);
        path.append("/").append(name);
        if (visit(path, kind.kind) && kind.enterable) {
            const int child =
                ::openat(::dirfd(folder), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (child >= 0) walkOpenFolder(child, path, visit);
        }
        path.resize(pathSize);
    }
    ::closedir(folder);
}

}  // namespace

void walkFolderTree(const std::string& folder, const VisitEntry& visit) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    std::string path = folder;
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    walkOpenFolder(descriptor, path, visit);
}

}  // namespace corv::platform
