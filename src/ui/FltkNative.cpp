#include "ui/FltkNative.hpp"

#include <FL/Fl_Window.H>
#include <FL/x.H>

namespace corv::ui {

void* nativeDisplay() {
    return fl_display;
}

unsigned long nativeWindow(Fl_Window& window) {
    return static_cast<unsigned long>(fl_xid(&window));
}

}  // namespace corv::ui
