#pragma once

#include <string>

#include "status/WindowSeam.hpp"

namespace corv::test {

// A window that takes every request and shows nothing.
class QuietWindow final : public status::WindowSeam {
  public:
    void postStart() override {}
    void postQuit(int) override {}
    void repaintBand(status::Band) override {}
    void setTopmost(bool) override {}
    void showWarning(std::string, std::string) override {}
};

}  // namespace corv::test
