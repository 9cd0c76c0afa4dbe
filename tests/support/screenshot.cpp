// Saves the X screen (or the window with the given title) as a PNG file, so
// tests and people can look at what the game shows.
//   screenshot OUT.png [TITLE]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stb/stb_image_write.h>

#include <vector>

#include "tests/support/x11_windows.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 3;
    Window window = argc > 2 ? FindWindowByTitle(display, DefaultRootWindow(display), argv[2]) : DefaultRootWindow(display);
    if (!window) {
        XCloseDisplay(display);
        return 4;
    }
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image) {
        XCloseDisplay(display);
        return 5;
    }
    std::vector<unsigned char> rgb(static_cast<size_t>(attributes.width) * attributes.height * 3);
    for (int y = 0; y < attributes.height; ++y) {
        for (int x = 0; x < attributes.width; ++x) {
            unsigned long pixel = XGetPixel(image, x, y);
            unsigned char* out = &rgb[(static_cast<size_t>(y) * attributes.width + x) * 3];
            out[0] = static_cast<unsigned char>((pixel & image->red_mask) >> 16);
            out[1] = static_cast<unsigned char>((pixel & image->green_mask) >> 8);
            out[2] = static_cast<unsigned char>(pixel & image->blue_mask);
        }
    }
    XDestroyImage(image);
    XCloseDisplay(display);
    return stbi_write_png(argv[1], attributes.width, attributes.height, 3, rgb.data(), attributes.width * 3) ? 0 : 6;
}
