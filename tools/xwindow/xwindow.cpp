// Drives a window on an X display from the outside, as a user would: closes it with the
// window manager's close request, or takes a screenshot of the whole screen as a PNG file.
// Used by the black-box tests and the demo.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

Window findWindowByTitle(Display* display, Window parent, const std::string& title) {
    char* name = nullptr;
    if (XFetchName(display, parent, &name) && name != nullptr) {
        const bool match = title == name;
        XFree(name);
        if (match) return parent;
    }
    Window root = 0;
    Window parentOfParent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &parentOfParent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i)
        found = findWindowByTitle(display, children[i], title);
    if (children != nullptr) XFree(children);
    return found;
}

int closeWindow(Display* display, const std::string& title) {
    const Window window = findWindowByTitle(display, DefaultRootWindow(display), title);
    if (window == 0) {
        std::fprintf(stderr, "xwindow: no window titled '%s'\n", title.c_str());
        return 1;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    return 0;
}

void appendBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

void appendChunk(std::string& png, const char* type, const std::string& data) {
    appendBigEndian(png, static_cast<std::uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    png += typed;
    appendBigEndian(
        png, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()),
                                              static_cast<uInt>(typed.size()))));
}

int screenshot(Display* display, const std::string& file) {
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, root, &attributes);
    XImage* image = XGetImage(display, root, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        std::fprintf(stderr, "xwindow: cannot read the screen\n");
        return 1;
    }
    std::string raw;  // one filter byte, then RGB, per row
    for (int y = 0; y < attributes.height; ++y) {
        raw += '\0';
        for (int x = 0; x < attributes.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            raw += static_cast<char>((pixel & image->red_mask) >> 16);
            raw += static_cast<char>((pixel & image->green_mask) >> 8);
            raw += static_cast<char>(pixel & image->blue_mask);
        }
    }
    XDestroyImage(image);

    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
             reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()));
    packed.resize(packedSize);

    std::string header;
    appendBigEndian(header, static_cast<std::uint32_t>(attributes.width));
    appendBigEndian(header, static_cast<std::uint32_t>(attributes.height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
    std::string png = "\x89PNG\r\n\x1a\n";
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", packed);
    appendChunk(png, "IEND", "");
    std::ofstream(file, std::ios::binary) << png;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "close") != 0 && std::strcmp(argv[1], "shot") != 0)) {
        std::fprintf(stderr, "usage: xwindow close TITLE | xwindow shot FILE.png\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "xwindow: cannot open the display\n");
        return 1;
    }
    const int result = std::strcmp(argv[1], "close") == 0 ? closeWindow(display, argv[2])
                                                          : screenshot(display, argv[2]);
    XCloseDisplay(display);
    return result;
}
