#include "data/ZipArchive.hpp"

#include <zip.h>

#include <memory>

namespace corv::data {

namespace {
struct EntryClose {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
}  // namespace

ZipArchive::ZipArchive(const std::filesystem::path& path, Mode mode) {
    const int flags = mode == Mode::Read ? ZIP_RDONLY : ZIP_CREATE | ZIP_TRUNCATE;
    archive_ = zip_open(path.string().c_str(), flags, &openError_);
    if (archive_) openError_ = 0;
}

ZipArchive::~ZipArchive() {
    if (archive_) zip_discard(archive_);
}

std::int64_t ZipArchive::entryCount() const {
    return archive_ ? zip_get_num_entries(archive_, 0) : 0;
}

std::string ZipArchive::entryName(std::int64_t index) const {
    const char* name = zip_get_name(archive_, static_cast<zip_uint64_t>(index), 0);
    return name ? name : "";
}

int ZipArchive::extractEntry(std::int64_t index, std::ostream& out, std::size_t blockSize) const {
    const std::unique_ptr<zip_file_t, EntryClose> entry(
        zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0));
    if (!entry) return zip_error_code_zip(zip_get_error(archive_));
    std::vector<char> block(blockSize);
    for (;;) {
        const zip_int64_t read = zip_fread(entry.get(), block.data(), block.size());
        if (read < 0) return zip_error_code_zip(zip_file_get_error(entry.get()));
        if (read == 0) return out.flush() ? 0 : ZIP_ER_WRITE;
        if (!out.write(block.data(), static_cast<std::streamsize>(read))) return ZIP_ER_WRITE;
    }
}

bool ZipArchive::add(const std::string& name, const std::vector<char>& bytes) {
    zip_source_t* source = zip_source_buffer(archive_, bytes.data(), bytes.size(), 0);
    if (!source) return false;
    if (zip_file_add(archive_, name.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
        zip_source_free(source);
        return false;
    }
    return true;
}

bool ZipArchive::close() {
    if (zip_close(archive_) != 0) return false;
    archive_ = nullptr;
    return true;
}

}  // namespace corv::data
