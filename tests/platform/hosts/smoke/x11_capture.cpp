// The X server side of the smoke test: finds the top-level window with the
// given title (_NET_WM_NAME), checks its icon name (_NET_WM_ICON_NAME, the
// application's title) when one is given, writes its pixels as the X server
// holds them to a PNG file, and asks it to close as a window manager would
// (WM_DELETE_WINDOW), unless --keep comes first. With --await <picture.png>
// <rows> it first waits, up to 30 s, until the window's top rows look as
// the picture's do (a page's title band, say, from a headless run).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>

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

// The pixel at (x, y) as blue, green and red bytes, in cairo's order.
void PixelBgr(XImage* image, int x, int y, unsigned char* to)
{
    const unsigned long pixel = XGetPixel(image, x, y);
    const auto channel = [&](unsigned long mask) {
        return static_cast<unsigned char>((pixel & mask) >> __builtin_ctzl(mask));
    };
    to[0] = channel(image->blue_mask);
    to[1] = channel(image->green_mask);
    to[2] = channel(image->red_mask);
}

bool SaveImage(XImage* image, const std::string& file)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, image->width, image->height);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            unsigned char* to = data + y * stride + 4 * x;
            PixelBgr(image, x, y, to);
            to[3] = 0xFF;
        }
    }
    cairo_surface_mark_dirty(surface);
    const bool saved = cairo_surface_write_to_png(surface, file.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return saved;
}

// Whether the image's top rows hold the picture's pixels (alpha aside).
bool TopRowsMatch(XImage* image, cairo_surface_t* picture, int rows)
{
    const int width = cairo_image_surface_get_width(picture);
    if (width != image->width || rows > image->height || rows > cairo_image_surface_get_height(picture)) {
        return false;
    }
    const unsigned char* data = cairo_image_surface_get_data(picture);
    const int stride = cairo_image_surface_get_stride(picture);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char bgr[3];
            PixelBgr(image, x, y, bgr);
            if (std::memcmp(bgr, data + y * stride + 4 * x, 3) != 0) {
                return false;
            }
        }
    }
    return true;
}

XImage* CaptureWindow(Display* display, Window window)
{
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    return XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                     static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
}

// Captures the window until its top rows look as the picture's do.
bool AwaitTopRows(Display* display, Window window, const char* pictureFile, int rows)
{
    cairo_surface_t* picture = cairo_image_surface_create_from_png(pictureFile);
    if (cairo_surface_status(picture) != CAIRO_STATUS_SUCCESS) {
        std::cerr << "qel_x11_capture: cannot read " << pictureFile << '\n';
        cairo_surface_destroy(picture);
        return false;
    }
    cairo_surface_flush(picture);
    bool matched = false;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!matched && std::chrono::steady_clock::now() < limit) {
        XImage* image = CaptureWindow(display, window);
        matched = image != nullptr && TopRowsMatch(image, picture, rows);
        if (image != nullptr) {
            XDestroyImage(image);
        }
        if (!matched) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    cairo_surface_destroy(picture);
    if (!matched) {
        std::cerr << "qel_x11_capture: the window's top " << rows << " rows never looked as " << pictureFile
                  << "'s do\n";
    }
    return matched;
}

} // namespace

int main(int argc, char** argv)
{
    bool keep = false;
    const char* awaited = nullptr;
    int awaitedRows = 0;
    while (argc > 1 && std::strncmp(argv[1], "--", 2) == 0) {
        if (std::strcmp(argv[1], "--keep") == 0) {
            keep = true;
            --argc;
            ++argv;
        } else if (std::strcmp(argv[1], "--await") == 0 && argc > 3) {
            awaited = argv[2];
            awaitedRows = std::atoi(argv[3]);
            argc -= 3;
            argv += 3;
        } else {
            break;
        }
    }
    if (argc < 3 || (awaited != nullptr && awaitedRows <= 0)) {
        std::cerr << "usage: qel_x11_capture [--keep] [--await <picture.png> <rows>] <window title> <capture.png> "
                     "[icon name]\n";
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
    if (awaited != nullptr && !AwaitTopRows(display, window, awaited, awaitedRows)) {
        XCloseDisplay(display);
        return 1;
    }
    XImage* image = CaptureWindow(display, window);
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
