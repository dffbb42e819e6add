#pragma once

class Fl_Window;

namespace corv::ui {

// The native handles of a shown FLTK window, for the platform layer. Kept apart because the
// native headers define macros that clash with ordinary names.
void* nativeDisplay();
unsigned long nativeWindow(Fl_Window& window);

}  // namespace corv::ui
