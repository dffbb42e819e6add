#include "common/UserErrorException.hpp"

#include <fmt/format.h>

namespace corv {

namespace {
// Code 99 carries a complete sentence of its own; every other code is shown in front of it.
constexpr int plainTextCode = 99;
}  // namespace

UserErrorException::UserErrorException(int code, std::string message)
    : code_(code),
      message_(std::move(message)),
      text_(code == plainTextCode ? message_ : fmt::format("{}: {}", code, message_)) {}

}  // namespace corv
