#include "platform/WindowStacking.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace corv::platform {

void keepWindowAbove(void* display, unsigned long window, bool above) {
    auto* x = static_cast<Display*>(display);
    if (x == nullptr || window == 0) return;
    // The window manager's protocol: a _NET_WM_STATE request sent to the root window.
    constexpr long remove = 0;
    constexpr long add = 1;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(x, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = above ? add : remove;
    event.xclient.data.l[1] = static_cast<long>(XInternAtom(x, "_NET_WM_STATE_ABOVE", False));
    event.xclient.data.l[2] = 0;
    event.xclient.data.l[3] = 1;  // a normal application
    XSendEvent(x, DefaultRootWindow(x), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
    XFlush(x);
}

}  // namespace corv::platform
