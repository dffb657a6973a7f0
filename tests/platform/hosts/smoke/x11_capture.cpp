// The X server side of the smoke test: finds the top-level window with the
// given title (_NET_WM_NAME), checks its icon name (_NET_WM_ICON_NAME, the
// application's title) when one is given, writes its pixels as the X server
// holds them to a PNG file, and asks it to close as a window manager would
// (WM_DELETE_WINDOW), unless --keep comes first.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <cstring>
#include <iostream>
#include <string>

namespace {

std::string Utf8Property(Display* display, Window window, const char* name)
{
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom netName = XInternAtom(display, name, False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) ==
            Success &&
        data != nullptr) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    return title;
}

Window FindByTitle(Display* display, Window parent, const std::string& title)
{
    if (Utf8Property(display, parent, "_NET_WM_NAME") == title) {
        return parent;
    }
    Window root = 0;
    Window up = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &up, &children, &count)) {
        return 0;
    }
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        found = FindByTitle(display, children[i], title);
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

bool SaveImage(XImage* image, const std::string& file)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, image->width, image->height);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            unsigned char* to = data + y * stride + 4 * x;
            to[0] = static_cast<unsigned char>((pixel & image->blue_mask) >> __builtin_ctzl(image->blue_mask));
            to[1] = static_cast<unsigned char>((pixel & image->green_mask) >> __builtin_ctzl(image->green_mask));
            to[2] = static_cast<unsigned char>((pixel & image->red_mask) >> __builtin_ctzl(image->red_mask));
            to[3] = 0xFF;
        }
    }
    cairo_surface_mark_dirty(surface);
    const bool saved = cairo_surface_write_to_png(surface, file.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    const bool keep = argc > 1 && std::strcmp(argv[1], "--keep") == 0;
    if (keep) {
        --argc;
        ++argv;
    }
    if (argc < 3) {
        std::cerr << "usage: qel_x11_capture [--keep] <window title> <capture.png> [icon name]\n";
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::cerr << "qel_x11_capture: no X display\n";
        return 1;
    }
    const Window window = FindByTitle(display, DefaultRootWindow(display), argv[1]);
    if (window == 0) {
        std::cerr << "qel_x11_capture: no window titled " << argv[1] << '\n';
        XCloseDisplay(display);
        return 1;
    }
    if (argc > 3 && Utf8Property(display, window, "_NET_WM_ICON_NAME") != argv[3]) {
        std::cerr << "qel_x11_capture: the icon name is \"" << Utf8Property(display, window, "_NET_WM_ICON_NAME")
                  << "\", not \"" << argv[3] << "\"\n";
        XCloseDisplay(display);
        return 1;
    }
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr || !SaveImage(image, argv[2])) {
        std::cerr << "qel_x11_capture: cannot capture the window\n";
        XCloseDisplay(display);
        return 1;
    }
    XDestroyImage(image);
    if (keep) {
        XCloseDisplay(display);
        return 0;
    }
    // The close box, as a window manager presses it.
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    XCloseDisplay(display);
    return 0;
}
