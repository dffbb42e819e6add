#pragma once

#include <stdexcept>
#include <string>

namespace corv {

// An error the user can fix (a setting, a folder, a file): the run ends and the text stays
// in the window until the user acts.
class UserErrorException : public std::exception {
  public:
    UserErrorException(int code, std::string message);

    int code() const noexcept { return code_; }
    const std::string& message() const noexcept { return message_; }
    const char* what() const noexcept override { return text_.c_str(); }

  private:
    int code_;
    std::string message_;
    std::string text_;
};

}  // namespace corv
