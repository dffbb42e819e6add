#include "platform/FolderTreeWalk.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <vector>

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

Kind kindOf(int folder, unsigned char type, const char* name) {
    switch (type) {
        case DT_DIR:
            return {EntryKind::Directory, true};
        case DT_REG:
            return {EntryKind::RegularFile, false};
        case DT_LNK:
            return {followedKind(folder, name), false};
        case DT_UNKNOWN: {
            // Some file systems do not tell the type in the listing.
            struct stat status {};
            if (::fstatat(folder, name, &status, AT_SYMLINK_NOFOLLOW) != 0) return {};
            if (S_ISLNK(status.st_mode)) return {followedKind(folder, name), false};
            return {kindOfMode(status.st_mode), S_ISDIR(status.st_mode)};
        }
        default:
            return {};
    }
}

// Room for the listing of a usual folder in one call.
constexpr std::size_t listingBytes = 32 * 1024;

// Walks the open folder (the descriptor is handed over) whose path is in `path`; the path
// grows by each entry's name during its visit and is restored after it. The listing is read
// straight from the system: the directory stream of the C library would first query the
// folder's status and flags, calls that a tree of many small folders pays for each of them.
void walkOpenFolder(int folder, std::string& path, const VisitEntry& visit) {
    const std::size_t pathSize = path.size();
    std::vector<char> listing(listingBytes);
    for (ssize_t got; (got = ::getdents64(folder, listing.data(), listing.size())) > 0;) {
        for (ssize_t at = 0; at < got;) {
            // Entries are packed one after another, each as long as its name needs.
            const char* record = listing.data() + at;
            unsigned short recordBytes = 0;
            unsigned char type = DT_UNKNOWN;
            std::memcpy(&recordBytes, record + offsetof(dirent64, d_reclen), sizeof recordBytes);
            std::memcpy(&type, record + offsetof(dirent64, d_type), sizeof type);
            const char* name = record + offsetof(dirent64, d_name);
            if (recordBytes == 0) break;
            at += recordBytes;
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
            const Kind kind = kindOf(folder, type, name);
            path.append("/").append(name);
            if (visit(path, kind.kind) && kind.enterable) {
                const int child =
                    ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                if (child >= 0) walkOpenFolder(child, path, visit);
            }
            path.resize(pathSize);
        }
    }
    ::close(folder);
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
