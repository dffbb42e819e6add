#include "sim/DefinitionData.hpp"

#include <algorithm>
#include <cstring>

namespace corv::sim {

namespace {
constexpr std::size_t fixedStringBytes = 32;

template <typename T>
void append(std::vector<std::byte>& bytes, const T& value) {
    const auto* raw = reinterpret_cast<const std::byte*>(&value);
    bytes.insert(bytes.end(), raw, raw + sizeof(T));
}
}  // namespace

DefinitionWriter& DefinitionWriter::float64(double value) {
    append(bytes_, value);
    return *this;
}

DefinitionWriter& DefinitionWriter::int64(std::int64_t value) {
    append(bytes_, value);
    return *this;
}

DefinitionWriter& DefinitionWriter::string32(const std::string& value) {
    std::byte field[fixedStringBytes] = {};
    std::memcpy(field, value.data(), std::min(value.size(), fixedStringBytes - 1));
    bytes_.insert(bytes_.end(), field, field + fixedStringBytes);
    return *this;
}

DefinitionWriter& DefinitionWriter::stringV(const std::string& value) {
    const auto* raw = reinterpret_cast<const std::byte*>(value.data());
    bytes_.insert(bytes_.end(), raw, raw + value.size());
    bytes_.push_back(std::byte{0});
    return *this;
}

std::span<const std::byte> DefinitionReader::take(std::size_t count) {
    if (count > remaining()) throw std::out_of_range("definition data too short");
    const auto part = data_.subspan(offset_, count);
    offset_ += count;
    return part;
}

double DefinitionReader::float64() {
    double value = 0.0;
    std::memcpy(&value, take(sizeof value).data(), sizeof value);
    return value;
}

std::int64_t DefinitionReader::int64() {
    std::int64_t value = 0;
    std::memcpy(&value, take(sizeof value).data(), sizeof value);
    return value;
}

std::string DefinitionReader::string32() {
    const auto field = take(fixedStringBytes);
    const auto* text = reinterpret_cast<const char*>(field.data());
    return std::string(text, strnlen(text, fixedStringBytes));
}

std::string DefinitionReader::stringV() {
    const auto rest = data_.subspan(offset_);
    const auto end = std::find(rest.begin(), rest.end(), std::byte{0});
    if (end == rest.end()) throw std::out_of_range("definition string not terminated");
    const std::size_t length = static_cast<std::size_t>(end - rest.begin());
    const auto* text = reinterpret_cast<const char*>(rest.data());
    std::string value(text, length);
    offset_ += length + 1;
    return value;
}

}  // namespace corv::sim
